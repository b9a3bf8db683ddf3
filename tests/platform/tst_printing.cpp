#include "testsupport.h"

#include "platform/printing.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QTest>

using namespace zol;

class PrintingTest : public QObject {
    Q_OBJECT
private slots:
    // Every way a print can end: only a written file counts as printed, a
    // failure is said once, a cancel says nothing.
    void outcomes_data()
    {
        QTest::addColumn<QString>("target");   // file name in the temporary folder; empty: cancel
        QTest::addColumn<bool>("drawn");       // what the page painter reports
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("messages");
        QTest::newRow("written") << "out.pdf" << true << int(PrintOutcome::Printed) << 0;
        QTest::newRow("cancelled") << "" << true << int(PrintOutcome::Cancelled) << 0;
        QTest::newRow("folder missing") << "no/such/folder/out.pdf" << true
                                        << int(PrintOutcome::Failed) << 1;
        QTest::newRow("page not drawn") << "out.pdf" << false << int(PrintOutcome::Failed) << 1;
    }
    void outcomes()
    {
        QFETCH(QString, target);
        QFETCH(bool, drawn);
        QFETCH(int, outcome);
        QFETCH(int, messages);
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        zoltest::PdfPrint print;
        if (!target.isEmpty())
            print.pdfPath = folder.file(target);
        const QPageLayout layout(QPageSize(QPageSize::B5), QPageLayout::Portrait,
                                 QMarginsF(30, 20, 25, 25), QPageLayout::Millimeter);
        const PrintOutcome got = printJob(nullptr, QStringLiteral("报告"), layout, PdfOffer{},
                                          [&](QPainter& p, QPrinter&) {
                                              p.drawText(QPointF(100, 100), QStringLiteral("中文"));
                                              return drawn;
                                          });
        QCOMPARE(int(got), outcome);
        QCOMPARE(print.asked, 1);
        QCOMPARE(dialogs.count(), messages);
        if (messages)
            QCOMPARE(dialogs.last().title, QStringLiteral("出错信息"));
        if (outcome == int(PrintOutcome::Printed))
            QVERIFY(QFileInfo(print.pdfPath).size() > 0);
    }
};

ZOL_TEST(PrintingTest)
#include "tst_printing.moc"
