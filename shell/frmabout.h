// The About box: the program's names, version, the maker's rights notice,
// brand, web page and mail, and a button that starts the system-information
// program.
#pragma once

#include "platform/form.h"

class QLabel;
class QPushButton;

class FrmAboutForm : public zol::Form {
    Q_OBJECT
public:
    FrmAboutForm();

    QLabel* picIcon = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system-information program, or says that there is none.
    void StartSysInfo();
    // One lookup of the system's settings (platform/sysinfo.h): true and the
    // value, or false and the empty text.
    [[nodiscard]] bool GetKeyValue(qint32 root, const QString& keyPath, const QString& valueName,
                     QString& value);

protected:
    void Form_Load() override;
};

inline FrmAboutForm& frmAbout() { return zol::DefaultForm<FrmAboutForm>::get(); }
