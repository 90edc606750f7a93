// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmKeyCapture.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/VirtualKeys.h"
#include "platform/Widgets.h"

namespace kestro::emus {

using platform::Named;

frmKeyCapture::frmKeyCapture(const QString& emulator, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmKeyCapture"));
    auto* layout = new QVBoxLayout(this);
    lblKeyScan = Named(new QLabel(QStringLiteral("Press Any Key"), this), "lblKeyScan");
    lblKeyScan->setAlignment(Qt::AlignCenter);
    QFont font = lblKeyScan->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    lblKeyScan->setFont(font);
    layout->addWidget(lblKeyScan);
    tmrTimer = Named(new QTimer(this), "tmrTimer");
    tmrTimer->setInterval(0);
    connect(tmrTimer, &QTimer::timeout, this, &frmKeyCapture::tmrTimer_Timer);
    setFixedSize(300, 90);
    setFocusPolicy(Qt::StrongFocus);
    Form_Load(emulator);
}

void frmKeyCapture::Form_Load(const QString& emulator) {
    setWindowTitle(emulator + QStringLiteral(" Key Capture Window..."));
    // Wide enough for the whole caption, which names the emulator.
    const int caption = QFontMetrics(QApplication::font()).horizontalAdvance(windowTitle()) + platform::kTitleBarExtras;
    setFixedSize(std::max(width(), caption), height());
    tmrTimer->start();
}

void frmKeyCapture::tmrTimer_Timer() {
    tmrTimer->stop();
    // Whatever is down now (the modifier or the mouse button that opened the
    // window) must come up before a key counts.
    const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    if (modifiers.testFlag(Qt::ShiftModifier)) m_held.insert(16);
    if (modifiers.testFlag(Qt::ControlModifier)) m_held.insert(17);
    if (modifiers.testFlag(Qt::AltModifier)) m_held.insert(18);
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (QGuiApplication::mouseButtons().testFlag(b)) m_held.insert(platform::VirtualKeyOf(b));
    }
    m_listening = true;
    setFocus();
}

void frmKeyCapture::KeyDown(int code, bool repeated) {
    if (code == 0 || m_code) return;
    // A repeat is a key held since before the window listened.
    if (!m_listening || repeated || !m_held.empty()) {
        m_held.insert(code);
        return;
    }
    m_code = code;
    QCoreApplication::processEvents();
    accept();
}

void frmKeyCapture::KeyUp(int code) {
    m_held.erase(code);
}

bool frmKeyCapture::event(QEvent* event) {
    // Every key counts, Tab and Escape included, so they never reach the
    // dialog's own handling.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyPress) KeyDown(platform::VirtualKeyOf(*key), key->isAutoRepeat());
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) KeyUp(platform::VirtualKeyOf(*key));
        return true;
    }
    return QDialog::event(event);
}

void frmKeyCapture::mousePressEvent(QMouseEvent* event) {
    KeyDown(platform::VirtualKeyOf(event->button()), false);
}

void frmKeyCapture::mouseReleaseEvent(QMouseEvent* event) {
    KeyUp(platform::VirtualKeyOf(event->button()));
}

}  // namespace kestro::emus
