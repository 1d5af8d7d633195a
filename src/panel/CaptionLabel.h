#pragma once
// Caption labels and caption panels: clicking one asks for help at its passage.
#include <QFrame>
#include <QLabel>

class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A captioned panel that holds an option group.
class CaptionPanel : public QFrame {
    Q_OBJECT
public:
    explicit CaptionPanel(const QString& caption, QWidget* parent = nullptr);
    QString caption() const;
    QLabel* captionLabel() const { return m_caption; }
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* m_caption;
};
