#pragma once

#include <Riri/EvidenceStore.h>

#include <QWidget>

class PictureView;
class QLabel;
class QPushButton;
class QScrollArea;

// Shows one attachment inside the program: a picture upright and fitted to
// the window, with zoom; a PDF page by page; any other file as its name with
// a note that another program is needed for it. Decoding runs off the GUI
// thread.
class frmEvidenceViewer : public QWidget {
    Q_OBJECT
public:
    frmEvidenceViewer(const Riri::Attachment& attachment, const QString& filePath,
                      QWidget* parent = nullptr);

    // Opens a viewer beside `from`: in the same multiple-document area when
    // `from` is a child window there, else as a window of its own.
    static frmEvidenceViewer* open(const Riri::Attachment& attachment, const QString& filePath,
                                   QWidget* from);

    QLabel* lblTitle = nullptr;
    QPushButton* cmdFit = nullptr;
    QPushButton* cmdZoomIn = nullptr;
    QPushButton* cmdZoomOut = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;
    QLabel* lblPage = nullptr;
    QScrollArea* scrView = nullptr;
    PictureView* picView = nullptr;

    bool isPdf() const { return m_pdf; }
    int page() const { return m_page; }
    int pageCount() const { return m_pages; }
    // Whether the picture or page asked for last has arrived.
    bool isLoaded() const { return m_loaded; }

    void showPage(int page);
    void zoomBy(double factor);
    void fit();

    QSize sizeHint() const override;

private:
    void load();
    void shown(const QImage& image);

    QString m_path;
    bool m_pdf = false;
    bool m_picture = false;
    int m_page = 0;
    int m_pages = 0;
    bool m_loaded = false;
    int m_request = 0; // drops a page that arrives after a later one was asked for
};
