// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key capture window: waits until every key and button is up, then takes
// the next key press (or mouse click) as the key for one controller input.

#include <QDialog>
#include <optional>
#include <set>

class QLabel;
class QTimer;

namespace kestro::emus {

class frmKeyCapture final : public QDialog {
    Q_OBJECT
public:
    /// emulator: "Virtual-E" or "Red Dragon", which the caption starts with.
    explicit frmKeyCapture(const QString& emulator, QWidget* parent = nullptr);

    /// The Windows key code taken, or nothing when the window was closed first.
    std::optional<int> Captured() const { return m_code; }

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Form_Load(const QString& emulator);
    void tmrTimer_Timer();
    void KeyDown(int code, bool repeated);
    void KeyUp(int code);

    QLabel* lblKeyScan = nullptr;
    QTimer* tmrTimer = nullptr;
    bool m_listening = false;
    std::set<int> m_held;  ///< keys and buttons known to be down
    std::optional<int> m_code;
};

}  // namespace kestro::emus
