#include "ui/fill/categoriesdlg.h"

#include "core/logdocument.h"
#include "localisation/language.h"
#include "ui/main/costlistmodel.h"
#include "ui/messagebox.h"
#include "ui/widgettext.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CCategoriesDlg::CCategoriesDlg(QWidget* owner, CLogDocument& document)
    : QDialog(owner), m_document(document) {
    setObjectName(QStringLiteral("categoriesDialog"));
    setWindowTitle(translate(Text::costlist_CategoriesCaption));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("categories"));
    m_list->setAccessibleName(translate(Text::costlist_CategoriesCaption));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("categoryName"));
    m_name->setMaxLength(60);
    auto* nameLabel = new QLabel(translatedWidgetText(Text::costlist_CategoryName), this);
    nameLabel->setBuddy(m_name);
    m_name->setAccessibleName(translate(Text::costlist_CategoryName).remove(u':'));
    m_add = new QPushButton(translatedWidgetText(Text::costlist_AddCategory), this);
    m_add->setObjectName(QStringLiteral("addCategory"));
    m_rename = new QPushButton(translatedWidgetText(Text::costlist_RenameCategory), this);
    m_rename->setObjectName(QStringLiteral("renameCategory"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);

    auto* edit = new QGridLayout;
    edit->addWidget(nameLabel, 0, 0);
    edit->addWidget(m_name, 0, 1, 1, 2);
    edit->addWidget(m_add, 1, 1);
    edit->addWidget(m_rename, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(edit);
    layout->addWidget(buttons);

    connect(m_add, &QPushButton::clicked, this, &CCategoriesDlg::addCategory);
    connect(m_rename, &QPushButton::clicked, this, &CCategoriesDlg::renameCategory);
    connect(m_name, &QLineEdit::textChanged, this, &CCategoriesDlg::updateButtons);
    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        if (QListWidgetItem* item = m_list->currentItem())
            m_name->setText(item->text());
        updateButtons();
    });
    showCategories(-1);
    m_name->setFocus();
}

CCategoriesDlg::~CCategoriesDlg() = default;

void CCategoriesDlg::showCategories(int selectedId) {
    m_list->clear();
    for (const auto& [id, name] : costCategoryNames(m_document.costs())) {
        auto* item = new QListWidgetItem(name, m_list);
        item->setData(Qt::UserRole, id);
        if (id == selectedId)
            m_list->setCurrentItem(item);
    }
    updateButtons();
}

void CCategoriesDlg::updateButtons() {
    const bool named = !m_name->text().trimmed().isEmpty();
    m_add->setEnabled(named);
    m_rename->setEnabled(named && m_list->currentItem());
    m_add->setDefault(named);
}

bool CCategoriesDlg::refuseName(const QString& name, int exceptId) {
    QString message;
    if (name.isEmpty()) {
        message = translate(Text::costlist_NoCategoryName);
    } else {
        for (int row = 0; row < m_list->count(); ++row) {
            const QListWidgetItem* item = m_list->item(row);
            if (item->data(Qt::UserRole).toInt() != exceptId &&
                item->text().compare(name, Qt::CaseInsensitive) == 0)
                message = translate(Text::costlist_CategoryExists);
        }
    }
    if (message.isEmpty())
        return false;
    showMessageBox(this, windowTitle(), message, QMessageBox::Warning, QMessageBox::Ok);
    m_name->setFocus();
    m_name->selectAll();
    return true;
}

bool CCategoriesDlg::addCategory() {
    const QString name = m_name->text().trimmed();
    if (refuseName(name, -1))
        return false;
    showCategories(m_document.addCostCategory(name));
    return true;
}

bool CCategoriesDlg::renameCategory() {
    const QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return false;
    const int id = item->data(Qt::UserRole).toInt();
    const QString name = m_name->text().trimmed();
    if (refuseName(name, id))
        return false;
    m_document.renameCostCategory(id, name);
    showCategories(id);
    return true;
}
