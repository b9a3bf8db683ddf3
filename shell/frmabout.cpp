#include "shell/frmabout.h"

#include "platform/buildinfo.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/links.h"
#include "platform/sysinfo.h"
#include "platform/twips.h"
#include "shell/artwork.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

using namespace zol;

namespace {

const QColor kDarkBlue(0, 0, 192);

struct LabelRow {
    QLabel* FrmAboutForm::*label;
    const char* name;
    QString text;
    int left, top, width, height;
    const char* face;  // nullptr: the window's own font
    double points;
    bool bold;
    QColor color;
};

} // namespace

FrmAboutForm::FrmAboutForm() : Form(QStringLiteral("frmAbout"))
{
    setFixedDialogBorder();
    setClientSize(5730, 3555);

    picIcon = makeLabel(this, QString(), 240, 240, 540, 540);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(aboutIcon());
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const LabelRow rows[] = {
        {&FrmAboutForm::Label1, "Label1", QStringLiteral("Hollisk系列软件"), 1080, 240, 3975, 375,
         "楷体_GB2312", 14.25, false, QColor(0, 0, 255)},
        {&FrmAboutForm::Label2, "Label2", QStringLiteral("Vormel人格测验成人版"), 1320, 840, 3375,
         375, "楷体_GB2312", 15, true, QColor(255, 0, 0)},
        {&FrmAboutForm::lblVersion, "lblVersion", QStringLiteral("ZOL Ver 3.6 for windows98/2000"),
         1560, 1440, 2700, 180, nullptr, 0, false, QColor(255, 128, 0)},
        {&FrmAboutForm::lblDisclaimer, "lblDisclaimer", build::rightsNotice(), 1680, 1920, 2190,
         240, "楷体_GB2312", 12, true, kDarkBlue},
        // 出, two blanks, 品：, and the brand with a blank after each letter.
        {&FrmAboutForm::Label5, "Label5", QStringLiteral("出  品：B r e v a n d "), 480, 2640, 2175,
         255, nullptr, 0, false, kDarkBlue},
        {&FrmAboutForm::Label4, "Label4", QStringLiteral("网  址：") + build::webPage(), 480, 2880,
         3015, 255, nullptr, 0, false, kDarkBlue},
        {&FrmAboutForm::Label3, "Label3", QStringLiteral("E-Mail：") + build::mailAddress(), 480,
         3120, 2655, 255, nullptr, 0, false, kDarkBlue},
    };
    for (const LabelRow& r : rows) {
        QLabel* l = makeLabel(this, r.text, r.left, r.top, r.width, r.height);
        l->setObjectName(QString::fromLatin1(r.name));
        l->setTextFormat(Qt::PlainText);
        if (r.face)
            l->setFont(vbFont(QString::fromUtf8(r.face), r.points, r.bold));
        setForeColor(l, r.color);
        this->*(r.label) = l;
    }
    // The version label is 12 pixels high: a smaller face keeps its text whole.
    lblVersion->setFont(vbFont(QStringLiteral("宋体"), 6.75));

    // An etched rule between the names above and the maker below: the grey
    // line lies on the upper edge of the wider white one.
    surface().addStaticLine(105, 2460, 5654, 2460, Qt::white, 2);
    surface().addStaticLine(90, 2445, 5654, 2445, QColor(128, 128, 128));

    cmdOK = makeButton(this, QStringLiteral("确定"), 3720, 2625, 1500, 345);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = makeButton(this, QStringLiteral("系统信息(&S)..."), 3720, 3075, 1485, 345);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdOK, &QPushButton::clicked, this, &FrmAboutForm::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &FrmAboutForm::cmdSysInfo_Click);
    centerOnScreen();
}

void FrmAboutForm::Form_Load()
{
    setWindowTitle(QStringLiteral("关于 ") + programTitle());
}

void FrmAboutForm::cmdOK_Click() { Hide(); }

void FrmAboutForm::cmdSysInfo_Click() { StartSysInfo(); }

void FrmAboutForm::StartSysInfo()
{
    QString program;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(kSysInfoKey),
                     QString::fromLatin1(kSysInfoValue), program)) {
        QString folder;
        if (GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromLatin1(kSysInfoFolderKey),
                        QString::fromLatin1(kSysInfoFolderValue), folder)
            && QFileInfo::exists(folder + QLatin1Char('/') + sysInfoProgramName()))
            program = folder + QLatin1Char('/') + sysInfoProgramName();
    }
    if (!program.isEmpty() && links().startProgram(program))
        return;
    MsgBox(QStringLiteral("此时系统信息不可用"), vbOKOnly);
}

bool FrmAboutForm::GetKeyValue(qint32 root, const QString& keyPath, const QString& valueName,
                               QString& value)
{
    return readSystemValue(root, keyPath, valueName, &value);
}
