// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The directory chooser: a drive list and a directory tree. The caller hands
// a starting directory in and gets the chosen directory back (empty for Cancel).

#include <QDialog>
#include <string>

#include "platform/Services.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace kestro::romdb {

class frmSelectDir final : public QDialog {
    Q_OBJECT
public:
    /// startDirectory: shown when it exists; empty for the base directory.
    frmSelectDir(platform::Services& services, const QString& startDirectory, QWidget* parent = nullptr);

    /// The chosen directory after Select; empty after Cancel.
    const QString& tag() const { return m_tag; }
    /// The directory the list shows.
    const QString& path() const { return m_path; }

private:
    void BuildControls();
    void ConnectHandlers();
    void Form_Load(const QString& startDirectory);
    void ShowDirectory(const QString& directory);
    void RevealInTree();
    bool GoToTypedDirectory();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    void drvDrive_Change();
    void dirDirectory_Change();
    void dirDirectory_Loaded(const QString& loaded);
    void cmdSelect_Click();
    void cmdCancel_Click();
    void txtDirectory_Enter();

    platform::Services& m_services;
    QString m_tag;
    QString m_path;
    std::string m_baseDirectory;
    QString m_revealing;  ///< the directory to bring into view as the tree loads

    QComboBox* drvDrive = nullptr;
    QTreeView* dirDirectory = nullptr;
    QFileSystemModel* m_model = nullptr;
    QLabel* lblLookIn = nullptr;
    QLabel* lblFileName1 = nullptr;
    QLabel* lblFileName = nullptr;
    QLineEdit* txtDirectory = nullptr;  ///< the directory, to read, type or paste
    QPushButton* cmdSelect = nullptr;
    QPushButton* cmdCancel = nullptr;
};

/// Shows the chooser modally; the chosen directory, or empty for Cancel.
QString ChooseDirectory(platform::Services& services, QWidget* parent, const QString& startDirectory = {});

}  // namespace kestro::romdb
