#include "frmAbout.h"

#include "AppInfo.h"
#include "platform/Detached.h"
#include "platform/Fonts.h"
#include "platform/Registry.h"
#include "platform/Twips.h"
#include "shared/modGlobal.h"
#include "ui/AutoSize.h"
#include "ui/Look.h"
#include "ui/Placement.h"
#include "ui/RtfReader.h"

#include <Riri/MsgBox.h>

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// Where the system information program is registered.
const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSysInfoValue = QStringLiteral("PATH");
const QString kSysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kSysInfoLocationValue = QStringLiteral("MSINFO");

} // namespace

QString frmAbout::aboutFile() {
    return programFolder() + QStringLiteral("/text/About.rtf");
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setFont(Fonts::make(Fonts::Verdana, 8.25));
    Twips::fixInnerSize(this, 4875, 2820);
    // Centred on the screen, not over the window that opens it.
    Placement::centreOnScreen(this);

    lblTitle = new QLabel(AppInfo::Title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    Twips::place(lblTitle, {.left = 120, .top = 120, .width = 4635, .height = 435});
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setFrameShape(QFrame::Box);
    lblTitle->setFont(Fonts::make(Fonts::ComicSansMS, 12, true));
    lblTitle->setAutoFillBackground(true);
    QPalette titleColours = lblTitle->palette();
    titleColours.setColor(QPalette::Window, QColor(255, 0, 0));
    titleColours.setColor(QPalette::WindowText, QColor(255, 255, 0));
    lblTitle->setPalette(titleColours);

    lblVersion = new QLabel(QStringLiteral("Version"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Twips::place(lblVersion, {.left = 4050, .top = 600, .width = 645, .height = 195});
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    rtBox = new QTextEdit(this);
    rtBox->setObjectName(QStringLiteral("rtBox"));
    Twips::place(rtBox, {.left = 120, .top = 840, .width = 4635, .height = 1395});
    rtBox->setReadOnly(true);
    rtBox->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    rtBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    rtBox->setFocusPolicy(Qt::ClickFocus);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Twips::place(cmdOK, {.left = 3060, .top = 2325, .width = 1680, .height = 345});
    Look::styleButton(cmdOK);
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);

    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    Twips::place(cmdSysInfo, {.left = 120, .top = 2340, .width = 1665, .height = 345});
    Look::styleButton(cmdSysInfo);
    // Enter presses the focused button; with no button focused, OK.
    cmdSysInfo->setAutoDefault(true);

    setTabOrder(cmdOK, cmdSysInfo);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Form_Load();
    cmdOK->setFocus();
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + AppInfo::Title);
    lblVersion->setText(QStringLiteral("v") + AppInfo::Version());
    sizeToText(lblVersion);
    QFile file(aboutFile());
    if (file.open(QIODevice::ReadOnly)) {
        RtfReader::read(file.readAll(), rtBox->document());
    }
    // The text is read from its beginning.
    rtBox->moveCursor(QTextCursor::Start);
}

// Esc closes the dialog through reject(), Enter and a click through here.
void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

bool frmAbout::GetKeyValue(unsigned int KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                           QString& KeyVal) {
    // Values are read into a buffer of 1024 characters; the stand-in holds
    // text values only.
    constexpr qsizetype kBuffer = 1024;
    const std::optional<QString> value = Registry::read(KeyRoot, KeyName, SubKeyRef);
    if (!value || value->size() + 1 > kBuffer) {
        KeyVal.clear();
        return false;
    }
    KeyVal = *value;
    return true;
}

void frmAbout::StartSysInfo() {
    QString program;
    QString folder;
    if (!GetKeyValue(HKEY_LOCAL_MACHINE, kSysInfoKey, kSysInfoValue, program)) {
        if (GetKeyValue(HKEY_LOCAL_MACHINE, kSysInfoLocationKey, kSysInfoLocationValue, folder)) {
            // The folder holds one of the known system information programs.
            for (const QString& name : Registry::sysInfoPrograms()) {
                const QString candidate = folder + QLatin1Char('/') + name;
                if (QFileInfo(candidate).isExecutable()) {
                    program = candidate;
                    break;
                }
            }
        }
    }
    if (program.isEmpty() || !Detached::startProgram(program)) {
        Riri::MsgBox(unavailableMessage(), Riri::vbOKOnly, AppInfo::Title);
    }
}
