#include "panel/CaptionLabel.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

CaptionPanel::CaptionPanel(const QString& caption, QWidget* parent, Qt::Orientation orientation)
    : QFrame(parent), m_caption(new QLabel(caption, this)) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    m_caption->setObjectName("caption");
    auto* outer = new QBoxLayout(
        orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, this);
    outer->setContentsMargins(4, 1, 4, 1);
    outer->setSpacing(orientation == Qt::Horizontal ? 8 : 0);
    outer->addWidget(m_caption);
    m_content = new QHBoxLayout;
    m_content->setSpacing(6);
    outer->addLayout(m_content);
    outer->addStretch(1);
}

QString CaptionPanel::caption() const {
    return m_caption->text();
}

void CaptionPanel::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
