#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QProgressBar;

// The splash window shown while the program starts: product name, version,
// maker and a picture, with a progress bar that runs for about seven to
// eight seconds.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    // The wait between two steps of the bar; Pause unless a host (the test
    // suite, a benchmark) gives another.
    using PauseFunction = std::function<bool(int)>;

    explicit frmSplash(QWidget* parent = nullptr);

    // The load: sets the version, the picture, shows the window and runs the
    // progress bar to the end before it returns.
    void load(const PauseFunction& pause = PauseFunction());

    // The picture path below the program folder, and the picture kept with
    // the window for when that file is missing or unreadable.
    static QString pictureFile();
    static QImage storedPicture();

    QFrame* Frame1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* proBar = nullptr;

private:
    void RunProgress(const PauseFunction& pause);
};
