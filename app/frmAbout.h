#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTextEdit;

// The about dialog: title, version, the about text shipped with the program,
// and a button that starts the system's information program.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Starts the system information program found through the registry
    // stand-in; without one, says that it is unavailable.
    void StartSysInfo();
    // Reads a string value of the registry stand-in: true and the text in
    // KeyVal when it is there, false and an empty KeyVal otherwise.
    bool GetKeyValue(unsigned int KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                     QString& KeyVal);

    static QString unavailableMessage() {
        return QStringLiteral("System Information Is Unavailable At This Time");
    }
    // The about text below the program folder.
    static QString aboutFile();

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QTextEdit* rtBox = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
};
