#include "ui/main/shortcutsdlg.h"

#include "localisation/language.h"
#include "ui/main/commands.h"
#include "ui/main/mainwnd.h"
#include "ui/messagebox.h"
#include "ui/stats/valuerows.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// A menu item's text as a sentence: without its mnemonic mark, its key column and its "…".
QString plainText(QString text) {
    text = text.section(u'\t', 0, 0);
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        plain += text.at(i);
    }
    if (plain.endsWith(u'\u2026'))
        plain.chop(1);
    return plain.trimmed();
}

QString keysText(const QList<QKeySequence>& keys) {
    QStringList texts;
    for (const QKeySequence& key : keys)
        texts.append(key.toString(QKeySequence::NativeText));
    return texts.join(QStringLiteral(", "));
}

QString keysText(std::initializer_list<QKeyCombination> keys) {
    QList<QKeySequence> sequences;
    for (const QKeyCombination key : keys)
        sequences.append(QKeySequence(key));
    return keysText(sequences);
}

} // namespace

CShortcutsDlg::CShortcutsDlg(CMainWnd* window) : QDialog(window) {
    setObjectName(QStringLiteral("shortcutsDialog"));
    setWindowTitle(plainText(translate(Text::menu_HelpShortcuts)));

    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(QStringLiteral("shortcutsTable"));
    m_table->setAccessibleName(windowTitle());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->setHorizontalHeaderLabels({translate(Text::help_Command), translate(Text::help_Keys)});
    m_table->horizontalHeader()->setStretchLastSection(true);

    // The commands in the order of their menus, then the keys the list handles itself.
    for (const MenuInfo& menu : CMainCommands::menus()) {
        for (const int id : menu.items) {
            const QAction* action = id ? window->commandAction(id) : nullptr;
            // The command's own name: Undo, not the step it would take back now.
            if (action && !action->shortcuts().isEmpty())
                addRow(plainText(translate(*CMainCommands::command(id)->menuText)),
                       keysText(action->shortcuts()));
        }
    }
    addRow(translate(Text::help_EditSelected), keysText({Qt::Key_Return}));
    addRow(translate(Text::help_ContextMenu), keysText({Qt::Key_Menu, Qt::SHIFT | Qt::Key_F10}));
    addRow(translate(Text::main_FirstFill), keysText({Qt::Key_Home}));
    addRow(translate(Text::main_LastFill), keysText({Qt::Key_End}));
    addRow(translate(Text::Main_Search), keysText({Qt::CTRL | Qt::Key_F}));
    m_table->resizeColumnsToContents();

    QPushButton* ok = addCloseButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);

    // Tall and wide enough for every row, as far as the screen allows.
    const int frame = 2 * m_table->frameWidth();
    QSize contents(m_table->horizontalHeader()->length() + frame +
                       m_table->verticalScrollBar()->sizeHint().width(),
                   m_table->horizontalHeader()->sizeHint().height() +
                       m_table->verticalHeader()->length() + frame);
    if (const QScreen* currentScreen = screen())
        contents = contents.boundedTo(currentScreen->availableGeometry().size() * 4 / 5);
    m_table->setMinimumSize(contents);
    m_table->setFocus();
}

CShortcutsDlg::~CShortcutsDlg() = default;

void CShortcutsDlg::addRow(const QString& command, const QString& keys) {
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    m_table->setItem(row, 0, new QTableWidgetItem(command));
    m_table->setItem(row, 1, new QTableWidgetItem(keys));
}

int CShortcutsDlg::doModal() {
    if (m_table->rowCount() > 0)
        m_table->setCurrentCell(0, 0);
    return execDialog(*this);
}
