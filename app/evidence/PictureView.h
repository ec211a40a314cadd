#pragma once

#include <QImage>
#include <QWidget>

// A picture drawn fitted to the widget, or at a zoom of its own size; a
// zoomed picture larger than the widget's parent is scrolled by it.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

    // 0 fits the picture to the room there is; otherwise the scale of the
    // picture's own pixels.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    // The scale the picture is drawn at now.
    double shownScale() const;
    // The widget size a zoomed picture needs.
    QSize zoomedSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    double m_zoom = 0;
};
