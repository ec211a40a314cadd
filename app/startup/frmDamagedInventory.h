#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

class QWidget;

// The window start-up shows when the inventory file is damaged: one plain
// sentence, the check's own text behind "Show Details", and the ways out:
// restore the newest automatic copy (only when there is one), choose a
// backup file, or quit. Shown through a seam so that a host without a user
// (the test suite) answers it without a modal wait.
class frmDamagedInventory {
public:
    enum class Choice { RestoreNewest, ChooseBackup, Quit };

    struct Prompt {
        QString text;           // the plain sentence
        QString details;        // the check's text
        QDateTime newestCopy;   // when the newest automatic copy was made; invalid without one
        QString newestCopyText; // that time as the user reads it
    };

    using Handler = std::function<Choice(const Prompt& prompt)>;

    // Asks through the installed handler, or shows the window.
    static Choice ask(const Prompt& prompt, QWidget* parent = nullptr);
    // Installs a handler and returns the previous one; an empty handler
    // restores the window.
    static Handler setHandler(Handler handler);

    // The sentence for a damaged inventory at path.
    static QString message(const QString& path);

private:
    static Choice show(const Prompt& prompt, QWidget* parent);
};
