#include "frmSplash.h"

#include "AppInfo.h"
#include "modGlobal.h"
#include "platform/AutoSize.h"
#include "platform/Fonts.h"
#include "platform/HousePicture.h"
#include "platform/Placement.h"
#include "platform/Pointer.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    Twips::Place(label, left, top, width, height);
    return label;
}

void colour(QLabel* label, const QColor& text) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
}

} // namespace

QString frmSplash::PictureFile() {
    return ProgramFolder() + QStringLiteral("/images/screen.bmp");
}

QImage frmSplash::StoredPicture() {
    return DrawHousePicture(Twips::Size(1980, 2940));
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setFont(Fonts::Make(Fonts::Verdana, 9.75));
    Twips::FixInnerSize(this, 7290, 4095);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    Twips::Place(Frame1, 90, 60, 7080, 3630);

    Image1 = new QLabel(Frame1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Twips::Place(Image1, 180, 480, 1980, 2940);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(StoredPicture()));

    lblCompanyProduct = makeLabel(Frame1, "lblCompanyProduct", QStringLiteral("Corvessa Software"),
                                  2640, 540, 4155, 525, Fonts::Make(Fonts::ComicSansMS, 18, true));
    lblCompanyProduct->setAlignment(Qt::AlignCenter);
    colour(lblCompanyProduct, QColor(255, 128, 0));
    SizeToText(lblCompanyProduct);

    lblProductName = makeLabel(Frame1, "lblProductName", AppInfo::Title, 2580, 1140, 4305, 900,
                               Fonts::Make(Fonts::ComicSansMS, 27.75, true));
    lblProductName->setAlignment(Qt::AlignCenter);
    colour(lblProductName, QColor(0, 0, 128));

    lblVersion = makeLabel(Frame1, "lblVersion", QStringLiteral("Version"), 6165, 2100, 705, 210,
                           Fonts::Make(Fonts::Verdana, 9));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SizeToText(lblVersion);

    Label2 = makeLabel(Frame1, "Label2", QStringLiteral("www.example.com"), 3420, 2520, 3075, 255,
                       Fonts::Make(Fonts::Verdana, 8.25, true));
    colour(Label2, QColor(0, 0, 128));

    lblCopyright =
        makeLabel(Frame1, "lblCopyright", QStringLiteral("Copyright \u00A9 Corvessa Software"),
                  3420, 3000, 3555, 255, Fonts::Make(Fonts::MSSansSerif, 8.25));

    lblCompany = makeLabel(Frame1, "lblCompany", QStringLiteral("Corvessa Software and Web Design"),
                           3420, 3270, 3510, 195, Fonts::Make(Fonts::MSSansSerif, 8.25));
    SizeToText(lblCompany);

    Label1 = makeLabel(this, "Label1", QStringLiteral("Initializing..."), 60, 3780, 1095, 255,
                       Fonts::Make(Fonts::MSSansSerif, 8.25));

    proBar = new QProgressBar(this);
    proBar->setObjectName(QStringLiteral("proBar"));
    Twips::Place(proBar, 1200, 3780, 5955, 255);
    proBar->setMinimum(0);
    proBar->setTextVisible(false);
    proBar->setVisible(false);

    Placement::CentreOnScreen(this);
}

void frmSplash::Load(const PauseFunction& pause) {
    Pointer::SetScreen(Pointer::Busy);
    lblVersion->setText(QStringLiteral("Version ") + QString::number(AppInfo::Major) +
                        QLatin1Char('.') + QString::number(AppInfo::Minor));
    SizeToText(lblVersion);
    QImageReader reader(PictureFile());
    const QImage picture = reader.read();
    if (!picture.isNull()) {
        Image1->setPixmap(QPixmap::fromImage(picture));
    }
    proBar->setVisible(true);
    show();
    // Painted now, before the progress run starts.
    repaint();
    QApplication::processEvents();
    RunProgress(pause ? pause : PauseFunction(&Pause));
    Pointer::SetScreen(Pointer::Default);
}

void frmSplash::RunProgress(const PauseFunction& pause) {
    proBar->setMinimum(0);
    proBar->setMaximum(16);
    int i = 0;
    while (i <= 16) {
        proBar->setValue(i);
        ++i;
        if (i >= 16) {
            break;
        }
        pause(0);
        ++i;
    }
    unsetCursor();
}
