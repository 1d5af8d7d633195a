#include "panel/CaptionLabel.h"

#include <QHBoxLayout>
#include <QMouseEvent>

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

CaptionPanel::CaptionPanel(const QString& caption, QWidget* parent) : QFrame(parent), m_caption(new QLabel(caption, this)) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    m_caption->setObjectName("caption");
}

QString CaptionPanel::caption() const { return m_caption->text(); }

void CaptionPanel::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
