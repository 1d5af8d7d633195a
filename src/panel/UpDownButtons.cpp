#include "panel/UpDownButtons.h"

#include <QToolButton>
#include <QVBoxLayout>

UpDownButtons::UpDownButtons(QWidget* parent) : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {m_up, m_down}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        button->setFixedWidth(16);
        layout->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName("up");
    m_down->setObjectName("down");
    connect(m_up, &QToolButton::clicked, this, &UpDownButtons::upClicked);
    connect(m_down, &QToolButton::clicked, this, &UpDownButtons::downClicked);
}
