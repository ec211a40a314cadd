#include "utils/frmOffsiteCopies.h"

#include "AppInfo.h"
#include "platform/DialogFolder.h"
#include "platform/FileDialogSeam.h"
#include "platform/Fonts.h"
#include "platform/Keyring.h"
#include "ui/Look.h"
#include "utils/OffsiteCommands.h"

#include <Riri/Formats.h>
#include <Riri/MsgBox.h>
#include <Riri/OffsiteCopies.h>
#include <Riri/OffsiteSettings.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QPointer<frmOffsiteCopies> g_open;

void warn(const QString& text) {
    Riri::MsgBox(text, Riri::vbExclamation | Riri::vbOKOnly, AppInfo::Title);
}

QString shownTime(const QDateTime& when) {
    const QLocale locale;
    return when.toString(Riri::shortDateFormat(locale) + QLatin1Char(' ') +
                         Riri::timeFormat(locale));
}

} // namespace

QString frmOffsiteCopies::strengthHint(const QString& passphrase, const QString& repeated) {
    if (passphrase.isEmpty()) {
        return QStringLiteral("At least %1 characters; a few unrelated words are easy to "
                              "remember.")
            .arg(kMinimumLength);
    }
    if (passphrase.size() < kMinimumLength) {
        return QStringLiteral("Too short: %1 of at least %2 characters.")
            .arg(passphrase.size())
            .arg(kMinimumLength);
    }
    if (repeated != passphrase) {
        return QStringLiteral("The two entries are not the same.");
    }
    int kinds = 0;
    const auto has = [&passphrase](auto test) {
        return std::any_of(passphrase.begin(), passphrase.end(), test);
    };
    kinds += has([](QChar c) { return c.isLower(); }) ? 1 : 0;
    kinds += has([](QChar c) { return c.isUpper(); }) ? 1 : 0;
    kinds += has([](QChar c) { return c.isDigit(); }) ? 1 : 0;
    kinds += has([](QChar c) { return !c.isLetterOrNumber(); }) ? 1 : 0;
    if (passphrase.size() >= 20 || (passphrase.size() >= 16 && kinds >= 2) || kinds >= 3) {
        return QStringLiteral("Strong: keep it somewhere safe away from home as well.");
    }
    return QStringLiteral("Fair: a longer passphrase or one more word makes it stronger.");
}

frmOffsiteCopies::frmOffsiteCopies(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmOffsiteCopies"));
    setWindowTitle(AppInfo::Title + QStringLiteral(" - Off-site Copies"));
    setFont(Fonts::make(QStringLiteral("Verdana"), 9.75));

    auto* intro = new QLabel(
        QStringLiteral("Encrypted copies of the inventory and its evidence, for a folder that "
                       "leaves the house: a USB stick kept elsewhere, or a folder that a sync "
                       "program carries away. Without the passphrase nobody can read them, "
                       "and nobody can restore them either."),
        this);
    intro->setWordWrap(true);

    txtFolder = new QLineEdit(this);
    txtFolder->setObjectName(QStringLiteral("txtFolder"));
    txtFolder->setReadOnly(true);
    cmdChoose = new QPushButton(QStringLiteral("C&hoose..."), this);
    cmdChoose->setObjectName(QStringLiteral("cmdChoose"));
    Look::styleButton(cmdChoose);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(txtFolder, 1);
    folderRow->addWidget(cmdChoose);

    txtPassphrase = new QLineEdit(this);
    txtPassphrase->setObjectName(QStringLiteral("txtPassphrase"));
    txtPassphrase->setEchoMode(QLineEdit::Password);
    txtRepeat = new QLineEdit(this);
    txtRepeat->setObjectName(QStringLiteral("txtRepeat"));
    txtRepeat->setEchoMode(QLineEdit::Password);
    lblStrength = new QLabel(this);
    lblStrength->setObjectName(QStringLiteral("lblStrength"));
    lblStrength->setWordWrap(true);
    chkRemember =
        new QCheckBox(QStringLiteral("&Remember the passphrase in the desktop's keyring"), this);
    chkRemember->setObjectName(QStringLiteral("chkRemember"));

    cboSchedule = new QComboBox(this);
    cboSchedule->setObjectName(QStringLiteral("cboSchedule"));
    cboSchedule->addItems(
        {QStringLiteral("When the program ends after a change, at most once a day"),
         QStringLiteral("Only when I ask for one")});
    spnKeep = new QSpinBox(this);
    spnKeep->setObjectName(QStringLiteral("spnKeep"));
    spnKeep->setRange(1, 999);

    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));
    lblState->setWordWrap(true);

    auto* form = new QFormLayout;
    auto* folderLabel = new QLabel(QStringLiteral("&Folder:"), this);
    folderLabel->setBuddy(cmdChoose);
    form->addRow(folderLabel, folderRow);
    form->addRow(QStringLiteral("&Passphrase:"), txtPassphrase);
    form->addRow(QStringLiteral("&Again:"), txtRepeat);
    form->addRow(QString(), lblStrength);
    form->addRow(QString(), chkRemember);
    form->addRow(QStringLiteral("&Write copies:"), cboSchedule);
    form->addRow(QStringLiteral("Copies &kept:"), spnKeep);
    for (QWidget* field : {static_cast<QWidget*>(txtPassphrase), static_cast<QWidget*>(txtRepeat),
                           static_cast<QWidget*>(cboSchedule), static_cast<QWidget*>(spnKeep)}) {
        if (auto* label = qobject_cast<QLabel*>(form->labelForField(field))) {
            label->setBuddy(field);
        }
    }

    cmdWriteNow = new QPushButton(QStringLiteral("Write a &Copy Now"), this);
    cmdWriteNow->setObjectName(QStringLiteral("cmdWriteNow"));
    Look::styleButton(cmdWriteNow);
    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    Look::styleButton(cmdSave);
    cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    Look::styleButton(cmdClose);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdWriteNow);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addSpacing(6);
    layout->addLayout(form);
    layout->addWidget(lblState);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(cmdChoose, &QPushButton::clicked, this, &frmOffsiteCopies::cmdChoose_Click);
    connect(txtPassphrase, &QLineEdit::textChanged, this, &frmOffsiteCopies::updateHint);
    connect(txtRepeat, &QLineEdit::textChanged, this, &frmOffsiteCopies::updateHint);
    connect(cmdSave, &QPushButton::clicked, this, [this] {
        if (save()) {
            close();
        }
    });
    connect(cmdWriteNow, &QPushButton::clicked, this, &frmOffsiteCopies::cmdWriteNow_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    load();
    resize(620, sizeHint().height());
}

void frmOffsiteCopies::load() {
    const Riri::OffsiteSettings settings = Riri::OffsiteSettings::load();
    txtFolder->setText(QDir::toNativeSeparators(settings.folder));
    chkRemember->setChecked(settings.rememberPassphrase);
    cboSchedule->setCurrentIndex(
        settings.schedule == Riri::OffsiteSettings::Schedule::OnRequest ? 1 : 0);
    spnKeep->setValue(settings.keep);
    m_keptPassphrase =
        settings.rememberPassphrase && Keyring::read(Riri::OffsiteCopies::keyringKey()).has_value();
    if (m_keptPassphrase) {
        txtPassphrase->setPlaceholderText(QStringLiteral("kept in the keyring"));
        txtRepeat->setPlaceholderText(QStringLiteral("kept in the keyring"));
    }
    updateHint();
    showState();
}

void frmOffsiteCopies::showState() {
    const Riri::OffsiteSettings settings = Riri::OffsiteSettings::load();
    QString text = settings.lastCopy.isValid()
                       ? QStringLiteral("Newest copy: %1.").arg(shownTime(settings.lastCopy))
                       : QStringLiteral("No copy has been written yet.");
    if (settings.lastFailed) {
        text += QStringLiteral(" The last attempt (%1) failed: %2")
                    .arg(shownTime(settings.lastAttempt), settings.failure);
    }
    lblState->setText(text);
}

void frmOffsiteCopies::updateHint() {
    if (m_keptPassphrase && txtPassphrase->text().isEmpty() && txtRepeat->text().isEmpty()) {
        lblStrength->setText(QStringLiteral("The keyring keeps the passphrase; type a new one "
                                            "twice to change it."));
        return;
    }
    lblStrength->setText(strengthHint(txtPassphrase->text(), txtRepeat->text()));
}

void frmOffsiteCopies::cmdChoose_Click() {
    const DialogFolder start(QStringLiteral("offsite"));
    const QString current = QDir::fromNativeSeparators(txtFolder->text());
    const QString chosen =
        FileDialogSeam::getExistingDirectory(this, QStringLiteral("Folder for the Off-site Copies"),
                                             QFileInfo(current).isDir() ? current : start.folder());
    if (!chosen.isEmpty()) {
        txtFolder->setText(QDir::toNativeSeparators(chosen));
    }
}

bool frmOffsiteCopies::save() {
    const QString folder = QDir::fromNativeSeparators(txtFolder->text());
    const QString typed = txtPassphrase->text();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        warn(QStringLiteral("Choose a folder that is there for the copies. "));
        return false;
    }
    // A passphrase is needed when the keyring is to keep one and has none;
    // one typed is always checked.
    if (!typed.isEmpty() || !txtRepeat->text().isEmpty() ||
        (chkRemember->isChecked() && !m_keptPassphrase)) {
        if (typed.size() < kMinimumLength) {
            warn(QStringLiteral("The passphrase needs at least %1 characters. ")
                     .arg(kMinimumLength));
            return false;
        }
        if (txtRepeat->text() != typed) {
            warn(QStringLiteral("The two entries of the passphrase are not the same. "));
            return false;
        }
    }
    const QString key = Riri::OffsiteCopies::keyringKey();
    if (chkRemember->isChecked() && !typed.isEmpty()) {
        QString error;
        if (!Keyring::write(key, typed, &error)) {
            warn(QStringLiteral("The desktop's keyring did not keep the passphrase: %1 ")
                     .arg(error));
            return false;
        }
        m_keptPassphrase = true;
    } else if (!chkRemember->isChecked()) {
        Keyring::remove(key);
        m_keptPassphrase = false;
    }
    Riri::OffsiteSettings settings = Riri::OffsiteSettings::load();
    if (!settings.configured.isValid() || settings.folder != folder) {
        settings.configured = QDateTime::currentDateTime();
    }
    settings.folder = folder;
    settings.rememberPassphrase = chkRemember->isChecked();
    settings.schedule = cboSchedule->currentIndex() == 1
                            ? Riri::OffsiteSettings::Schedule::OnRequest
                            : Riri::OffsiteSettings::Schedule::AtEndAfterChange;
    settings.keep = spnKeep->value();
    settings.save();
    if (!typed.isEmpty()) {
        OffsiteCommands::rememberForSession(typed);
    }
    DialogFolder(QStringLiteral("offsite")).remember(QDir(folder).filePath(QStringLiteral("x")));
    return true;
}

void frmOffsiteCopies::cmdWriteNow_Click() {
    if (!save()) {
        return;
    }
    std::optional<QString> secret;
    if (!txtPassphrase->text().isEmpty()) {
        secret = txtPassphrase->text();
    }
    OffsiteCommands::writeCopyNow(this, secret);
    showState();
}

frmOffsiteCopies* frmOffsiteCopies::openDialog(QWidget* parent) {
    if (g_open) {
        g_open->close();
    }
    auto* window = new frmOffsiteCopies(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->show();
    g_open = window;
    return window;
}
