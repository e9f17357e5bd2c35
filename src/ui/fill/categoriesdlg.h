#pragma once

// The cost categories of the open log: a new one added, or one renamed, each as a step of the
// log that Undo takes back.

#include <QDialog>
#include <functional>

class CLogDocument;
class QLineEdit;
class QListWidget;
class QPushButton;

class CCategoriesDlg : public QDialog {
    Q_OBJECT
public:
    CCategoriesDlg(QWidget* owner, CLogDocument& document);
    ~CCategoriesDlg() override;

    QListWidget* list() const { return m_list; }
    QLineEdit* nameField() const { return m_name; }
    // Add the name typed as a category, or give it to the chosen one; false (with a message)
    // when the name is empty or another category has it.
    bool addCategory();
    bool renameCategory();

private:
    void showCategories(int selectedId);
    bool refuseName(const QString& name, int exceptId);
    void updateButtons();

    CLogDocument& m_document;
    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_rename = nullptr;
};
