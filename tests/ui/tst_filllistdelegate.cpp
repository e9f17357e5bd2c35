#include "ui/main/filllistdelegate.h"

#include <QHeaderView>
#include <QImage>
#include <QPointer>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleFactory>
#include <QTableView>
#include <QTest>

namespace {

// A small list like the fill list: right-aligned numbers, a centred mark, an empty cell.
QStandardItemModel* makeModel(QObject* parent) {
    const QStringList rows[] = {
        {QStringLiteral("1."), QStringLiteral("01.02.2026"), QStringLiteral("45.67"),
         QStringLiteral("1 234.56"), QString(), QStringLiteral("*")},
        {QStringLiteral("2."), QStringLiteral("15.03.2026"), QStringLiteral("7.10"),
         QStringLiteral("n/a"), QStringLiteral("6.94"), QString()},
        {QStringLiteral("3."), QStringLiteral("28.12.2026"), QStringLiteral("123456.78"),
         QStringLiteral("0.00"), QStringLiteral("12.30"), QStringLiteral("!")},
    };
    auto* model = new QStandardItemModel(parent);
    for (const QStringList& texts : rows) {
        QList<QStandardItem*> items;
        for (qsizetype column = 0; column < texts.size(); ++column) {
            auto* item = new QStandardItem(texts.at(column));
            item->setTextAlignment(column == texts.size() - 1 ? Qt::AlignCenter
                                                              : Qt::AlignRight | Qt::AlignVCenter);
            items.append(item);
        }
        model->appendRow(items);
    }
    return model;
}

} // namespace

class TestFillListDelegate : public QObject {
    Q_OBJECT
private slots:
    void paintsAsTheStyle_data();
    void paintsAsTheStyle();
};

void TestFillListDelegate::paintsAsTheStyle_data() {
    QTest::addColumn<QString>("styleName");
    QTest::addColumn<int>("selectedRow"); // -1: none
    QTest::addColumn<int>("columnWidth"); // narrow columns cut their texts short
    QTest::addColumn<bool>("rightToLeft");

    for (const char* style : {"Fusion", "Windows"}) {
        const QString name = QString::fromLatin1(style);
        QTest::addRow("%s plain", style) << name << -1 << 90 << false;
        QTest::addRow("%s selected, current", style) << name << 1 << 90 << false;
        QTest::addRow("%s cut short", style) << name << 2 << 40 << false;
        QTest::addRow("%s right to left", style) << name << 0 << 90 << true;
    }
}

// The list's own painting looks exactly like the style's painting of the same cells.
void TestFillListDelegate::paintsAsTheStyle() {
    QFETCH(QString, styleName);
    QFETCH(int, selectedRow);
    QFETCH(int, columnWidth);
    QFETCH(bool, rightToLeft);

    QPointer<QStyle> style = QStyleFactory::create(styleName);
    QVERIFY(style);
    QTableView view;
    view.setStyle(style);
    view.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setShowGrid(false);
    view.setWordWrap(false);
    view.verticalHeader()->hide();
    view.setModel(makeModel(&view));
    view.horizontalHeader()->setDefaultSectionSize(columnWidth);
    view.resize(600, 160);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    if (selectedRow >= 0)
        view.setCurrentIndex(view.model()->index(selectedRow, 2));

    const QImage styled = view.viewport()->grab().toImage();
    CFillListDelegate delegate;
    view.setItemDelegate(&delegate);
    // Twice: the second painting uses the layouts kept from the first.
    for (int painting = 0; painting < 2; ++painting)
        QCOMPARE(view.viewport()->grab().toImage(), styled);
    view.setItemDelegate(nullptr);
    delete style;
}

QTEST_MAIN(TestFillListDelegate)
#include "tst_filllistdelegate.moc"
