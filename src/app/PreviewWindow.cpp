#include "app/PreviewWindow.h"

#include "app/PreviewPlot.h"
#include "app/frmDXS.h"
#include "core/NumberText.h"
#include "panel/BoxTable.h"
#include "panel/NumericBox.h"
#include "panel/OptionGroup.h"
#include "record/RecordFile.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

double confirmedValue(const NumericBox* box) {
    return numtext::lenientValue(box->confirmedText());
}

// The chosen option's index; the first option where none is chosen.
template <size_t N> int chosenIndex(const std::array<QRadioButton*, N>& options) {
    return std::max(0, checkedIndex(options));
}

preview::Shape shapeAt(int index) {
    return index == 1 ? preview::Shape::Triangle : index == 2 ? preview::Shape::Square : preview::Shape::Sine;
}

} // namespace

preview::Setting PreviewWindow::readSetting(const Panel& p) {
    using preview::Function;
    preview::Setting s;
    s.shape = shapeAt(chosenIndex(p.optMainFunc));
    s.frequency = confirmedValue(p.txtMainFreq);
    s.amplitude = confirmedValue(p.txtMainAmp);
    s.offset = confirmedValue(p.txtMainDCOffset);
    s.duty = confirmedValue(p.txtMainDuty);

    if (p.optSweep[0]->isChecked())
        s.function = Function::Sweep;
    else if (p.optModulation[0]->isChecked())
        s.function = p.optModAM->isChecked() ? Function::AM : Function::FM;
    else if (p.optTrigger[0]->isChecked())
        s.function = Function::Trigger;
    else if (p.optBurst[0]->isChecked())
        s.function = Function::Burst;
    else if (p.optGate[0]->isChecked())
        s.function = Function::Gate;
    else if (p.optExternal[0]->isChecked())
        s.function = Function::Counter;

    s.sweepLog = p.optSweepModel[1]->isChecked();
    s.sweepStart = confirmedValue(p.txtSweepStartFreq);
    s.sweepStop = confirmedValue(p.txtSweepStopFreq);
    s.sweepRate = confirmedValue(p.txtSweepRate);
    s.sweepSymmetry = confirmedValue(p.txtSweepSymmetry);

    const int modSource = chosenIndex(p.optModSource);
    s.modExternal = modSource == 3;
    s.modShape = shapeAt(modSource);
    s.modRate = confirmedValue(p.txtModRate);
    s.modDepthOrSpan = confirmedValue(p.txtModSpanDepth);
    s.modSymmetry = confirmedValue(p.txtModSymmetry);

    s.triggerExternal = p.optTriggerExt->isChecked();
    s.triggerMulti = p.optTriggerType[1]->isChecked();
    s.triggerRate = confirmedValue(p.txtTrgRate);
    s.triggerSymmetry = confirmedValue(p.txtTrgSymmetry);
    // Send puts the phase 0 for burst and gate; the picture follows what is sent.
    s.triggerPhase = confirmedValue(p.txtTrgPhase);
    s.burstCount = confirmedValue(p.txtBurstCount);
    s.gateRate = confirmedValue(p.txtGatePeriod);
    s.counterGateTime = chosenIndex(p.optGateTimeExt);
    return s;
}

QStringList PreviewWindow::pendingBoxes(const Panel& p) {
    QStringList names;
    for (const NumericBox* box : p.boxes()) {
        if (!box->isEdited()) continue;
        names << QString::fromLatin1(box->spec().title);
    }
    return names;
}

PreviewWindow::PreviewWindow(frmDXS& owner) : QWidget(&owner, Qt::Window), m_owner(owner) {
    setObjectName("frmPreview");
    setWindowTitle("Preview");
    auto* layout = new QVBoxLayout(this);
    auto* menus = new QMenuBar(this);
    QMenu* file = menus->addMenu("File");
    savePng = file->addAction("Save as PNG...");
    saveSvg = file->addAction("Save as SVG...");
    file->addSeparator();
    QAction* close = file->addAction("Close");
    savePng->setObjectName("mnuPreviewSavePng");
    saveSvg->setObjectName("mnuPreviewSaveSvg");
    connect(savePng, &QAction::triggered, this, [this] { save("png"); });
    connect(saveSvg, &QAction::triggered, this, [this] { save("svg"); });
    connect(close, &QAction::triggered, this, &QWidget::close);
    layout->setMenuBar(menus);

    m_plot = new PreviewPlot(this);
    m_plot->setAccessibleName("Preview of the output");
    layout->addWidget(m_plot, 1);
    m_pending = new QLabel(this);
    m_pending->setObjectName("lblPreviewPending");
    m_pending->setWordWrap(true);
    layout->addWidget(m_pending);
    m_words = new QLabel(this);
    m_words->setObjectName("lblPreviewWords");
    m_words->setWordWrap(true);
    // Reachable from the keyboard, so a screen reader reads it like any other control.
    m_words->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_words->setFocusPolicy(Qt::StrongFocus);
    m_words->setAccessibleName("Output in words");
    layout->addWidget(m_words);

    // Every accepted text, colour change and option choice of the panel; the work is done once the
    // reaction that made the change has returned, so one Enter rule's several writes draw once.
    for (NumericBox* box : owner.panel.boxes())
        connect(box, &NumericBox::confirmedStateChanged, this, &PreviewWindow::scheduleRefresh);
    for (QRadioButton* option : owner.findChildren<QRadioButton*>())
        connect(option, &QRadioButton::toggled, this, &PreviewWindow::scheduleRefresh);
    refresh();
}

void PreviewWindow::scheduleRefresh() {
    if (m_refreshQueued) return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        if (isVisible()) refresh();
    });
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void PreviewWindow::refresh() {
    preview::Picture picture = preview::computePicture(readSetting(m_owner.panel));
    const QStringList pending = pendingBoxes(m_owner.panel);
    m_pending->setText(
        pending.isEmpty()
            ? QString()
            : QStringLiteral("Pending (not yet confirmed with Enter, drawn with the last confirmed "
                             "value): %1")
                  .arg(pending.join(QStringLiteral(", "))));
    m_pending->setVisible(!pending.isEmpty());
    if (m_words->text() != picture.words) {
        m_words->setText(picture.words);
        m_words->setAccessibleDescription(picture.words);
        setAccessibleDescription(picture.words);
    }
    m_plot->setPicture(std::move(picture));
}

void PreviewWindow::save(const QString& kind) {
    const bool svg = kind == QLatin1String("svg");
    const QString filter =
        svg ? QStringLiteral("SVG drawing(*.svg)|*.svg") : QStringLiteral("PNG image(*.png)|*.png");
    // A folder the user can write: an installed copy's own folder is not one.
    QString startFolder = QDir::homePath();
    for (const auto location : {QStandardPaths::PicturesLocation, QStandardPaths::DocumentsLocation}) {
        const QFileInfo folder(QStandardPaths::writableLocation(location));
        if (folder.isDir() && folder.isWritable()) {
            startFolder = folder.absoluteFilePath();
            break;
        }
    }
    QString path = m_owner.dialogs().chooseFile({UserDialogs::FileDialogKind::Save, QStringLiteral("Save"),
                                                 QDir::toNativeSeparators(startFolder),
                                                 QStringLiteral("preview.") + kind, filter});
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + kind;
    const QSize size = m_plot->size().expandedTo(m_plot->sizeHint());
    QByteArray bytes;
    if (svg) {
        bytes = m_plot->toSvg(size);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        m_plot->toImage(size).save(&buffer, "PNG");
    }
    // The one file writer: the picture is written whole or not at all.
    if (const auto written = recordfile::writeFile(path, bytes, false); !written)
        m_owner.dialogs().message(QStringLiteral("The picture could not be saved to %1.\n%2")
                                      .arg(QDir::toNativeSeparators(path), written.reason),
                                  UserDialogs::Buttons::Ok, UserDialogs::Icon::Warning);
}

PreviewWindow& showPreviewWindow(frmDXS& owner) {
    auto* window = owner.findChild<PreviewWindow*>("frmPreview", Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new PreviewWindow(owner);
        window->resize(window->sizeHint());
        // Beside the main window, on its right where the screen has room, else on its left.
        const QRect main = owner.frameGeometry();
        QPoint at(main.right() + 8, main.top());
        if (QScreen* screen = owner.screen()) {
            const QRect room = screen->availableGeometry();
            if (at.x() + window->width() > room.right())
                at.setX(std::max(room.left(), main.left() - window->width() - 8));
        }
        window->move(at);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}
