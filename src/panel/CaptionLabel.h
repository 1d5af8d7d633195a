#pragma once
// Caption labels and caption panels: clicking one asks for help at its passage.
#include <QFrame>
#include <QLabel>

class QBoxLayout;

// Draws `label`'s text in the colour the panel gives it (the red of the captions) wherever that
// reads on the desktop's background. On a dark desktop palette the colour is lightened until it
// reads at 4.5:1 or better; it follows the desktop palette as it changes.
void keepColourReadable(QLabel* label, const QColor& colour);
// Contrast ratio of two colours, 1 (none) to 21 (black on white), by relative luminance.
double contrastRatio(const QColor& a, const QColor& b);

class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A captioned panel that holds an option group: the caption first, then the choices.
class CaptionPanel : public QFrame {
    Q_OBJECT
public:
    // Vertical puts the choices below the caption, else they follow it on one line.
    explicit CaptionPanel(const QString& caption, QWidget* parent = nullptr,
                          Qt::Orientation = Qt::Horizontal);
    QString caption() const;
    QLabel* captionLabel() const { return m_caption; }
    // Where the choices go.
    QBoxLayout* contentLayout() const { return m_content; }
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_caption;
    QBoxLayout* m_content;
};
