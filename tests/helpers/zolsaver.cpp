// Saves tests into one zol.mdb through the data control, as a result window
// does, so that a test can run two copies of it against the same file:
//
//     zolsaver <path of zol.mdb> <name prefix> <count>
//
// Row i is named <prefix><i>. The messages of refused saves go to stderr;
// the exit code is the number of refused saves (at most 100).
#include "platform/database.h"
#include "platform/datacontrol.h"
#include "tests/support/scripteddialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    zol::ScriptedDialogs dialogs;   // a refusal is recorded, not shown
    zol::DataControl data;
    data.setDatabaseName(args.value(1));
    data.setRecordSource(zol::testRecordTable());
    std::vector<std::unique_ptr<QLineEdit>> boxes;
    for (const QString& field : zol::testRecordFields()) {
        boxes.emplace_back(new QLineEdit);
        data.bind(boxes.back().get(), field);
    }
    const QStringList texts = QStringLiteral("?|男|30|大学|汉族|教师|?|门诊|12|15|9|6|55|60|45|40|"
                                             "1：甲|2：乙|3：丙|4：丁|2026-03-07").split(QLatin1Char('|'));
    int refused = 0;
    for (int i = 1; i <= args.value(3).toInt(); ++i) {
        bool saved = data.AddNew();
        for (int f = 0; f < texts.size(); ++f)
            boxes[f]->setText(texts[f]);
        boxes[0]->setText(args.value(2) + QString::number(i));
        boxes[6]->setText(QString::number(i));   // 编号
        saved = saved && data.Update();
        refused += saved ? 0 : 1;
    }
    for (const zol::DialogCall& call : dialogs.calls)
        std::fprintf(stderr, "%s\n", qPrintable(call.prompt));
    return qMin(refused, 100);
}
