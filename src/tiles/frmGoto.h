// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small dialog in which the user types a view offset or width.

#include <QDialog>
#include <optional>

#include "tiles/TileNavigation.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestro::tiles {

class frmGoto final : public QDialog {
    Q_OBJECT
public:
    /// currentText is the value shown now; fileLength bounds an offset.
    frmGoto(GotoWhat what, const QString& currentText, double fileLength, QWidget* parent = nullptr);

    /// The text "Goto" handed back, or nothing when the dialog was cancelled.
    const std::optional<QString>& result() const { return m_result; }

private:
    void BuildControls();
    void Form_Load(const QString& currentText);
    void txtGoto_Change();
    void cmdGoto_Click();
    void cmdCancel_Click();

    GotoWhat m_what;
    double m_fileLength;
    std::optional<QString> m_result;
    QLabel* lblGoto = nullptr;
    QLineEdit* txtGoto = nullptr;
    QPushButton* cmdGoto = nullptr;
    QPushButton* cmdCancel = nullptr;
};

}  // namespace kestro::tiles
