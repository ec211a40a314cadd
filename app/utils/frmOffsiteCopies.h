#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Utils, "Off-site Copies...": the folder the encrypted copies go to, their
// passphrase (typed twice, with a hint of its strength), whether the
// desktop's keyring keeps it, when copies are written, how many are kept,
// and "Write a Copy Now". Save keeps the choices. Not modal.
class frmOffsiteCopies : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinimumLength = 12;

    explicit frmOffsiteCopies(QWidget* parent = nullptr);

    QLineEdit* txtFolder = nullptr;
    QPushButton* cmdChoose = nullptr;
    QLineEdit* txtPassphrase = nullptr;
    QLineEdit* txtRepeat = nullptr;
    QLabel* lblStrength = nullptr;
    QCheckBox* chkRemember = nullptr;
    QComboBox* cboSchedule = nullptr;
    QSpinBox* spnKeep = nullptr;
    QLabel* lblState = nullptr;
    QPushButton* cmdWriteNow = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;

    // The hint under the passphrase for what was typed in both boxes.
    static QString strengthHint(const QString& passphrase, const QString& repeated);

    // Shows a new window (closing one left open) and returns it; it deletes
    // itself when closed.
    static frmOffsiteCopies* openDialog(QWidget* parent);

private:
    void load();
    void showState();
    void updateHint();
    void cmdChoose_Click();
    // Checks and keeps the choices; false (after saying why) when they
    // cannot be kept.
    bool save();
    void cmdWriteNow_Click();

    bool m_keptPassphrase = false;
};
