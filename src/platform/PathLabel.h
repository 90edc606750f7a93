// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label that shows a directory path, cut short with "..." at its end when
// the path is wider than the label; the tool tip always holds the full path.

#include <QLabel>

namespace kestro::platform {

class PathLabel final : public QLabel {
    Q_OBJECT
public:
    explicit PathLabel(QWidget* parent = nullptr);

    /// Shows the path; the tool tip keeps it whole.
    void setPath(const QString& path);
    QString path() const { return toolTip(); }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Shorten();
};

/// The longest start of text that, followed by "...", fits in width pixels in
/// the font's metrics; the text itself when it fits whole.
QString ShortenedAtEnd(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace kestro::platform
