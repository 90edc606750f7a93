// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/frmHelp.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "help/HelpTopics.h"
#include "platform/QtServices.h"
#include "platform/Text.h"

namespace kestro::help {

using platform::Q;

frmHelp::frmHelp(platform::Services& services, const QString& topicKey, const QString& sourceText, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmHelp"));
    auto* layout = new QVBoxLayout(this);
    txtHelp = new QPlainTextEdit(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setReadOnly(true);
    layout->addWidget(txtHelp);
    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    resize(560, 420);
    Form_Load(topicKey, sourceText);
}

namespace {

// Room around the text: frame, document margins and a vertical scroll bar.
constexpr int kTextMargins = 64;

// Texts laid out in padded columns: the identification codes, the collection
// reports and the change log. They need a fixed-pitch font and whole lines.
bool ShowsColumns(HelpSource source) {
    switch (source) {
        case HelpSource::IdCodes:
        case HelpSource::RomDbHave:
        case HelpSource::RomDbMiss:
        case HelpSource::RomDbDupes:
        case HelpSource::RomDbLog: return true;
        default: return false;
    }
}

}  // namespace

void frmHelp::Form_Load(const QString& topicKey, const QString& sourceText) {
    // As designed, the window holds the codes text until a topic replaces it,
    // and a key that matches no topic leaves it so.
    const auto topic = FindHelpTopic(platform::U8(topicKey));
    const HelpSource source = topic ? topic->source : HelpSource::IdCodes;
    setWindowTitle(Q(topic ? topic->caption : kDefaultHelpCaption));
    txtHelp->setPlainText(
        platform::DisplayText(source == HelpSource::IdCodes ? Q(IdentificationCodesText()) : sourceText));
    if (!ShowsColumns(source)) return;
    txtHelp->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtHelp->setLineWrapMode(QPlainTextEdit::NoWrap);  // long lines scroll sideways
    WidenForLines();
}

// Makes the window wide enough for the longest line, within the screen.
void frmHelp::WidenForLines() {
    const QFontMetrics metrics(txtHelp->font());
    int widest = 0;
    for (const QString& line : txtHelp->toPlainText().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen* screen = this->screen();
    const int limit = screen ? screen->availableGeometry().width() * 9 / 10 : width();
    const int wanted = widest + kTextMargins;
    if (wanted > width()) resize(std::min(wanted, limit), height());
}

void ShowHelpTopic(platform::Services& services, QWidget* parent, const QString& topicKey, const QString& sourceText) {
    frmHelp help(services, topicKey, sourceText, parent);
    help.exec();
}

}  // namespace kestro::help
