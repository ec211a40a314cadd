#pragma once

#include <QString>
#include <QTextBrowser>
#include <QWidget>

class QHelpEngine;
class QLineEdit;
class QTabWidget;

// Shows the pages of the help collection, reading them from the engine.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QHelpEngine* engine, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QHelpEngine* m_engine;
};

// The help topics window: the collection's table of contents, its index and
// a full-text search beside the page shown. One window per program.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // Opens the window on the collection file, or brings the open one
    // forward. Returns nullptr (and shows nothing) when the file is missing
    // or cannot be read.
    static HelpViewer* open(const QString& collectionFile, QWidget* owner = nullptr);
    // The open window, or nullptr.
    static HelpViewer* current();
    // The program's help file, set once at start-up, for the context help.
    static void setHelpFile(const QString& collectionFile);
    static QString helpFile();
    // The page shown first.
    static QUrl homePage();

    ~HelpViewer() override;

    QHelpEngine* engine() const { return m_engine; }
    QTabWidget* tabs() const { return m_tabs; }
    HelpBrowser* browser() const { return m_browser; }
    QLineEdit* indexFilter() const { return m_indexFilter; }

    // Shows a page of the collection.
    void showPage(const QUrl& url);

private:
    HelpViewer(QHelpEngine* engine, QWidget* owner);
    void search();

    QHelpEngine* m_engine;
    QTabWidget* m_tabs = nullptr;
    HelpBrowser* m_browser = nullptr;
    QLineEdit* m_indexFilter = nullptr;
};
