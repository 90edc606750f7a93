// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A progress bar drawn as a filled box with its percentage centred on it,
// the text turning to the highlight-text colour once the fill reaches it.

#include <QFrame>

class QLabel;

namespace kestro::platform {

class PercentBar final : public QFrame {
    Q_OBJECT
public:
    /// The bar takes barName; its centred label takes labelName.
    PercentBar(const QString& barName, const QString& labelName, QWidget* parent = nullptr);

    /// Fills p/100 of the width (all of it from 100, none from 0) and shows "p%".
    void SetPercent(int percent);
    int Percent() const { return m_percent; }
    QLabel* Label() const { return m_label; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CentreLabel();

    int m_percent = 0;
    QLabel* m_label = nullptr;
};

}  // namespace kestro::platform
