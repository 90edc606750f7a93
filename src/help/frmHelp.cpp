#include "help/frmHelp.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
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

void frmHelp::Form_Load(const QString& topicKey, const QString& sourceText) {
    // As designed, the window holds the codes text until a topic replaces it.
    const QString codes = platform::DisplayText(Q(IdentificationCodesText()));
    setWindowTitle(Q(kDefaultHelpCaption));
    txtHelp->setPlainText(codes);
    auto topic = FindHelpTopic(platform::U8(topicKey));
    if (!topic) return;
    setWindowTitle(Q(topic->caption));
    if (topic->source == HelpSource::IdCodes) {
        // The framed layout needs a fixed-pitch font to line up.
        txtHelp->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    } else {
        txtHelp->setPlainText(platform::DisplayText(sourceText));
    }
}

void ShowHelpTopic(platform::Services& services, QWidget* parent, const QString& topicKey, const QString& sourceText) {
    frmHelp help(services, topicKey, sourceText, parent);
    help.exec();
}

}  // namespace kestro::help
