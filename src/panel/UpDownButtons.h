#pragma once
// The small up/down button pair beside a box. It changes nothing by itself: it only reports clicks.
#include <QWidget>

class QToolButton;

class UpDownButtons : public QWidget {
    Q_OBJECT
public:
    explicit UpDownButtons(QWidget* parent = nullptr);
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
