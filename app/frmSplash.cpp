#include "frmSplash.h"

#include "AppInfo.h"
#include "platform/Fonts.h"
#include "platform/Pointer.h"
#include "platform/Twips.h"
#include "shared/modGlobal.h"
#include "ui/AutoSize.h"
#include "ui/HousePicture.h"
#include "ui/Placement.h"

#include <QApplication>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const TwipsRect& rect,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    Twips::place(label, rect);
    return label;
}

void colour(QLabel* label, const QColor& text) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
}

} // namespace

QString frmSplash::pictureFile() {
    return programFolder() + QStringLiteral("/images/screen.bmp");
}

QImage frmSplash::storedPicture() {
    return drawHousePicture(Twips::size(1980, 2940));
}

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setFont(Fonts::make(Fonts::Verdana, 9.75));
    Twips::fixInnerSize(this, 7290, 4095);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    Twips::place(Frame1, {.left = 90, .top = 60, .width = 7080, .height = 3630});

    Image1 = new QLabel(Frame1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Twips::place(Image1, {.left = 180, .top = 480, .width = 1980, .height = 2940});
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(storedPicture()));

    lblCompanyProduct = makeLabel(Frame1, "lblCompanyProduct", QStringLiteral("Corvessa Software"),
                                  {.left = 2640, .top = 540, .width = 4155, .height = 525},
                                  Fonts::make(Fonts::ComicSansMS, 18, true));
    lblCompanyProduct->setAlignment(Qt::AlignCenter);
    colour(lblCompanyProduct, QColor(255, 128, 0));
    sizeToText(lblCompanyProduct);

    lblProductName = makeLabel(Frame1, "lblProductName", AppInfo::Title,
                               {.left = 2580, .top = 1140, .width = 4305, .height = 900},
                               Fonts::make(Fonts::ComicSansMS, 27.75, true));
    lblProductName->setAlignment(Qt::AlignCenter);
    colour(lblProductName, QColor(0, 0, 128));

    lblVersion = makeLabel(Frame1, "lblVersion", QStringLiteral("Version"),
                           {.left = 6165, .top = 2100, .width = 705, .height = 210},
                           Fonts::make(Fonts::Verdana, 9));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sizeToText(lblVersion);

    Label2 = makeLabel(Frame1, "Label2", QStringLiteral("www.example.com"),
                       {.left = 3420, .top = 2520, .width = 3075, .height = 255},
                       Fonts::make(Fonts::Verdana, 8.25, true));
    colour(Label2, QColor(0, 0, 128));

    lblCopyright =
        makeLabel(Frame1, "lblCopyright", QStringLiteral("Copyright \u00A9 Corvessa Software"),
                  {.left = 3420, .top = 3000, .width = 3555, .height = 255},
                  Fonts::make(Fonts::MSSansSerif, 8.25));

    lblCompany = makeLabel(Frame1, "lblCompany", QStringLiteral("Corvessa Software and Web Design"),
                           {.left = 3420, .top = 3270, .width = 3510, .height = 195},
                           Fonts::make(Fonts::MSSansSerif, 8.25));
    sizeToText(lblCompany);

    Label1 = makeLabel(this, "Label1", QStringLiteral("Initializing..."),
                       {.left = 60, .top = 3780, .width = 1095, .height = 255},
                       Fonts::make(Fonts::MSSansSerif, 8.25));

    proBar = new QProgressBar(this);
    proBar->setObjectName(QStringLiteral("proBar"));
    Twips::place(proBar, {.left = 1200, .top = 3780, .width = 5955, .height = 255});
    proBar->setMinimum(0);
    proBar->setTextVisible(false);
    proBar->setVisible(false);

    Placement::centreOnScreen(this);
}

void frmSplash::load(const PauseFunction& pause) {
    Pointer::setScreen(Pointer::Busy);
    lblVersion->setText(QStringLiteral("Version ") + QString::number(AppInfo::Major) +
                        QLatin1Char('.') + QString::number(AppInfo::Minor));
    sizeToText(lblVersion);
    QImageReader reader(pictureFile());
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
    Pointer::setScreen(Pointer::Default);
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
