// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RomChooser.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "platform/Text.h"
#include "platform/Widgets.h"
#include "rom/RomImage.h"

namespace kestro::platform {

namespace {
constexpr std::string_view kRomFilter = "Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*";
}

RomChooser::RomChooser(Services& services, QWidget* window)
    : QObject(window),
      m_services(services),
      m_window(window),
      m_row(new QHBoxLayout()),
      cmbFilename(Named(new QComboBox(window), "cmbFilename")),
      lblFilename(Named(new QLabel(window), "lblFilename")),
      cmdOpen(Named(new QPushButton(QStringLiteral("Select ROM..."), window), "cmdOpen")),
      m_recent(services.settings) {
    cmbFilename->setMinimumWidth(360);
    m_row->addWidget(Named(new QLabel(QStringLiteral("ROM to run:"), window), "lblRomToRun"));
    m_row->addWidget(cmbFilename, 1);
    m_row->addWidget(lblFilename, 1);
    m_row->addWidget(cmdOpen);
    connect(cmbFilename, &QComboBox::currentIndexChanged, this, &RomChooser::cmbFilename_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &RomChooser::cmdOpen_Click);
}

void RomChooser::Load(const std::string& baseDirectory) {
    m_baseDirectory = baseDirectory;
    m_recent.Load();
    lblFilename->setText(Q(rom::kRecentPlaceholder));
    if (!RecentListOn()) {
        cmbFilename->hide();
        lblFilename->show();
        return;
    }
    lblFilename->hide();
    cmbFilename->show();
    m_recent.Refresh();
    FillDropDown();
    m_refilling = false;
    cmbFilename->setCurrentIndex(0);
    cmbFilename_Click(0);
}

void RomChooser::cmdOpen_Click() {
    const QString path =
        m_services.files.OpenFile(m_window, QStringLiteral("Select ROM"), Q(kRomFilter), Q(m_baseDirectory), QString());
    if (path.isEmpty()) return;
    Choose(path);
}

bool RomChooser::HasRom() const {
    if (RecentListOn()) return cmbFilename->currentIndex() > 0;
    return lblFilename->text() != Q(rom::kRecentPlaceholder);
}

QString RomChooser::RomPath() const {
    return RecentListOn() ? cmbFilename->currentText() : lblFilename->text();
}

void RomChooser::cmbFilename_Click(int index) {
    if (m_refilling || index < 0) return;
    const QString path = cmbFilename->itemText(index);
    cmbFilename->setToolTip(path);
    if (index == 0) {
        if (onChoice) onChoice(Choice::None);
        return;
    }
    if (!QFileInfo(path).isFile()) {
        // A recent ROM that is gone leaves the list without a word.
        m_recent.Remove(U8(path));
        FillDropDown();
        SelectEntry(QString());
        lblFilename->setText(Q(rom::kRecentPlaceholder));
        if (onChoice) onChoice(Choice::None);
        return;
    }
    Choose(path);
}

void RomChooser::Choose(const QString& path) {
    const rom::RomOpenResult opened = rom::OpenRom(U8(path));
    if (!opened.Accepted()) {
        m_services.messages.Show(m_window, opened.message);
        m_recent.Remove(U8(path));
        lblFilename->setText(Q(rom::kRecentPlaceholder));
        if (RecentListOn()) {
            FillDropDown();
            SelectEntry(QString());
        }
        if (onChoice) onChoice(Choice::Refused);
        return;
    }
    m_recent.Add(U8(path));
    lblFilename->setText(path);
    if (RecentListOn()) {
        FillDropDown();
        SelectEntry(path);
        cmbFilename->setToolTip(path);
    }
    if (onChoice) onChoice(Choice::Valid);
}

void RomChooser::FillDropDown() {
    m_refilling = true;
    cmbFilename->clear();
    for (const std::string& item : m_recent.DropDownItems()) cmbFilename->addItem(Q(item));
}

void RomChooser::SelectEntry(const QString& path) {
    // The window selects the entry itself; the handler stays quiet meanwhile.
    m_refilling = true;
    const int index = path.isEmpty() ? 0 : cmbFilename->findText(path, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cmbFilename->setCurrentIndex(index < 0 ? 0 : index);
    m_refilling = false;
}

}  // namespace kestro::platform
