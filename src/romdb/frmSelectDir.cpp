#include "romdb/frmSelectDir.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include "base/SettingsKeys.h"
#include "platform/Text.h"
#include "platform/Widgets.h"

namespace kestro::romdb {

using platform::Q;

namespace {

// A directory exists when looking it up finds a directory.
bool DirectoryExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// The drive a path lies on: its root ("/" here, "C:/" on Windows).
QString DriveOf(const QString& path) {
    for (const QFileInfo& drive : QDir::drives()) {
        if (path.startsWith(drive.absoluteFilePath(), Qt::CaseInsensitive)) return drive.absoluteFilePath();
    }
    return QDir::rootPath();
}

}  // namespace

frmSelectDir::frmSelectDir(platform::Services& services, const QString& startDirectory, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmSelectDir"));
    setWindowTitle(QStringLiteral("Select Directory..."));
    BuildControls();
    ConnectHandlers();
    Form_Load(startDirectory);
}

void frmSelectDir::BuildControls() {
    lblLookIn = platform::Named(new QLabel(QStringLiteral("Look in:"), this), "lblLookIn");
    drvDrive = platform::Named(new QComboBox(this), "drvDrive");
    for (const QFileInfo& drive : QDir::drives()) drvDrive->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QString());
    dirDirectory = platform::Named(new QTreeView(this), "dirDirectory");
    dirDirectory->setModel(m_model);
    dirDirectory->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column) dirDirectory->hideColumn(column);
    lblFileName1 = platform::Named(new QLabel(QStringLiteral("Directory:"), this), "lblFileName1");
    lblFileName = platform::Named(new QLabel(this), "lblFileName");
    lblFileName->setTextFormat(Qt::PlainText);
    cmdSelect = platform::Named(new QPushButton(QStringLiteral("Select"), this), "cmdSelect");
    cmdSelect->setDefault(true);
    cmdCancel = platform::Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblLookIn, 0, 0);
    layout->addWidget(drvDrive, 0, 1);
    layout->addWidget(dirDirectory, 1, 0, 1, 2);
    layout->addWidget(lblFileName1, 2, 0);
    layout->addWidget(lblFileName, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    resize(380, 360);
}

void frmSelectDir::ConnectHandlers() {
    connect(drvDrive, &QComboBox::activated, this, &frmSelectDir::drvDrive_Change);
    connect(dirDirectory->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmSelectDir::dirDirectory_Change);
    connect(cmdSelect, &QPushButton::clicked, this, &frmSelectDir::cmdSelect_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectDir::cmdCancel_Click);
}

void frmSelectDir::Form_Load(const QString& startDirectory) {
    m_baseDirectory = base::ReadText(m_services.settings, base::keys::BaseDirectory);
    const QString base = Q(m_baseDirectory);
    const QString wanted = startDirectory.isEmpty() ? base : startDirectory;
    ShowDirectory(DirectoryExists(wanted) ? wanted : Q(base::DefaultDirectory()));
}

// Shows a directory in all three controls: label, drive and tree.
void frmSelectDir::ShowDirectory(const QString& directory) {
    lblFileName->setText(directory);
    drvDrive->setCurrentIndex(std::max(0, drvDrive->findText(QDir::toNativeSeparators(DriveOf(directory)))));
    m_path = directory;
    const QModelIndex index = m_model->index(directory);
    dirDirectory->setCurrentIndex(index);
    dirDirectory->scrollTo(index);
    dirDirectory->expand(index);
}

void frmSelectDir::drvDrive_Change() {
    dirDirectory->setCurrentIndex(m_model->index(QDir::fromNativeSeparators(drvDrive->currentText())));
}

void frmSelectDir::dirDirectory_Change() {
    const QString chosen = m_model->filePath(dirDirectory->currentIndex());
    if (chosen.isEmpty()) return;
    m_path = QDir::toNativeSeparators(chosen);
    QDir::setCurrent(chosen);
    lblFileName->setText(m_path);
}

void frmSelectDir::cmdSelect_Click() {
    m_tag = m_path;
    accept();
}

void frmSelectDir::cmdCancel_Click() {
    m_tag.clear();
    reject();
}

QString ChooseDirectory(platform::Services& services, QWidget* parent, const QString& startDirectory) {
    frmSelectDir chooser(services, startDirectory, parent);
    chooser.exec();
    return chooser.tag();
}

}  // namespace kestro::romdb
