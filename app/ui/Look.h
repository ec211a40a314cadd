#pragma once

#include <QColor>
#include <QHash>
#include <QObject>

class QLabel;
class QPushButton;
class QWidget;

// The common look of the windows and the behaviour shared by their fields.
namespace Look {

inline const QColor ButtonFace = QColor(224, 224, 224);
inline const QColor FocusColour = QColor(0, 0, 255);
inline const QColor CaptionColour = QColor(0, 0, 0);

// Verdana 9.75 point bold on the light grey face.
void styleButton(QPushButton* button);

} // namespace Look

// Turns a field's caption label bold pure blue while the field has the
// focus, and back to regular black when it leaves.
class FocusCaptions : public QObject {
    Q_OBJECT
public:
    explicit FocusCaptions(QObject* parent = nullptr) : QObject(parent) {}
    void link(QWidget* field, QLabel* caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QObject*, QLabel*> m_captions;
};

// Moves the focus to a given widget when Enter is pressed in a field. The key
// press is consumed, so a text box does not also take a line break.
class EnterMoves : public QObject {
    Q_OBJECT
public:
    explicit EnterMoves(QObject* parent = nullptr) : QObject(parent) {}
    void link(QWidget* from, QWidget* to);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QObject*, QWidget*> m_targets;
};
