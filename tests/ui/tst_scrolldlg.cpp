#include "ui/fill/scrollarithmetic.h"
#include "ui/fill/scrolldlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

// A scrolling dialog whose content is a field, a block of a fixed height and another field.
class TallDialog : public CScrollDlg {
public:
    explicit TallDialog(int blockHeight) {
        auto* layout = new QVBoxLayout(contentWidget());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        top = new QLineEdit(contentWidget());
        auto* block = new QWidget(contentWidget());
        block->setFixedHeight(blockHeight);
        bottom = new QLineEdit(contentWidget());
        layout->addWidget(top);
        layout->addWidget(block);
        layout->addWidget(bottom);
        layout->addStretch();
        setupScrolling();
        show();
    }
    // Makes the visible height `visible` pixels and lays the dialog out as a resize does.
    void setVisibleHeight(int visible) { resize(width(), visible); }
    int topY() const { return top->mapTo(this, QPoint(0, 0)).y(); }

    QLineEdit* top = nullptr;
    QLineEdit* bottom = nullptr;
};

class ScrollDlgTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CScrollDlg::setKeyboardStateOverride(std::nullopt); }

    void rangeFollowsContentAndVisibleHeight_data() {
        QTest::addColumn<int>("content");
        QTest::addColumn<int>("visible");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("needed");
        QTest::newRow("fits with room to spare") << 300 << 400 << -13 << false;
        QTest::newRow("exactly fits") << 400 << 400 << 0 << false;
        QTest::newRow("100 taller: last 4 pixels out of reach") << 500 << 400 << 12 << true;
        QTest::newRow("7 taller: enabled but nothing to scroll") << 407 << 400 << 0 << true;
        QTest::newRow("8 taller") << 408 << 400 << 1 << true;
    }
    void rangeFollowsContentAndVisibleHeight() {
        QFETCH(int, content);
        QFETCH(int, visible);
        QFETCH(int, maximum);
        QFETCH(bool, needed);
        const ScrollRange range = scrollRangeFor(content, visible);
        QCOMPARE(range.minimum, 0);
        QCOMPARE(range.maximum, maximum);
        QCOMPARE(scrollingNeeded(content, visible), needed);
    }

    void requestsMoveThePosition_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("thumb");
        QTest::addColumn<int>("track");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("stored");
        QTest::newRow("line up") << 0 << 5 << 0 << 0 << 4 << true;
        QTest::newRow("line up at the top") << 0 << 0 << 0 << 0 << 0 << true;
        QTest::newRow("line down") << 1 << 5 << 0 << 0 << 6 << true;
        QTest::newRow("line down at the bottom") << 1 << 12 << 0 << 0 << 12 << true;
        QTest::newRow("page up jumps to the top") << 2 << 7 << 0 << 0 << 0 << true;
        QTest::newRow("page down jumps to the bottom") << 3 << 0 << 0 << 0 << 12 << true;
        QTest::newRow("thumb released") << 4 << 2 << 9 << 3 << 9 << true;
        QTest::newRow("thumb dragged: bar not updated") << 5 << 2 << 9 << 3 << 3 << false;
        QTest::newRow("end of scrolling") << 8 << 6 << 9 << 3 << 6 << true;
        QTest::newRow("unknown code") << 42 << 6 << 9 << 3 << 6 << true;
    }
    void requestsMoveThePosition() {
        QFETCH(int, code);
        QFETCH(int, position);
        QFETCH(int, thumb);
        QFETCH(int, track);
        QFETCH(int, expected);
        QFETCH(bool, stored);
        const ScrollStep step =
            nextScrollPosition(ScrollCode(code), ScrollRange{0, 12}, position, thumb, track);
        QCOMPARE(step.position, expected);
        QCOMPARE(step.storeInBar, stored);
    }

    void roomEndsAtTheKeyboard() {
        QCOMPARE(roomHeight(20, 620, false, 0), 600);
        QCOMPARE(roomHeight(20, 620, true, 420), 400);
        QCOMPARE(roomHeight(20, 620, true, 0), 0);     // keyboard reported above the screen
        QCOMPARE(roomHeight(20, 620, true, 900), 600); // or below it
    }

    void contentTallerThanTheDialogScrolls() {
        TallDialog dialog(400);
        dialog.setVisibleHeight(dialog.contentHeight() - 100);
        QScrollBar* bar = dialog.findChild<QScrollBar*>(QStringLiteral("scrollBar"));
        QVERIFY(bar && bar->isEnabled());
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 12);
        QCOMPARE(bar->geometry().right(), dialog.width() - 1);
        QCOMPARE(bar->height(), dialog.height());

        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(dialog.topY(), 0);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(bar->value(), 12);
        QCOMPARE(dialog.topY(), -96);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(bar->value(), 12);
        QCOMPARE(dialog.topY(), -96);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(bar->value(), 11);
        QCOMPARE(dialog.topY(), -88);
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(dialog.topY(), 0);

        // Dragging moves the content but not the stored position; releasing stores it.
        bar->setSliderDown(true);
        bar->setSliderPosition(5);
        QCOMPARE(dialog.topY(), -40);
        QCOMPARE(bar->value(), 0);
        bar->setSliderDown(false);
        QCOMPARE(bar->value(), 5);
        QCOMPARE(dialog.topY(), -40);
    }

    // Content that fits has no scroll bar and the whole width; once it does not fit, the bar
    // appears beside it and the content keeps its width.
    void theBarShowsOnlyWhenNeeded() {
        TallDialog dialog(100);
        dialog.setVisibleHeight(dialog.contentHeight() + 50);
        QScrollBar* bar = dialog.scrollBar();
        QVERIFY(!bar->isEnabled());
        QVERIFY(!bar->isVisible());
        QCOMPARE(dialog.contentWidget()->width(), dialog.width());
        QCOMPARE(bar->maximum(), 0);
        dialog.onVScroll(int(ScrollCode::PageDown), 0);
        QCOMPARE(dialog.topY(), 0);

        const int fittingWidth = dialog.contentWidget()->width();
        dialog.setVisibleHeight(dialog.contentHeight() - 50);
        QVERIFY(bar->isVisible());
        QCOMPARE(dialog.contentWidget()->width() + bar->width(), dialog.width());
        QVERIFY(dialog.contentWidget()->width() >=
                dialog.contentWidget()->minimumSizeHint().width());
        QVERIFY(dialog.contentWidget()->width() <= fittingWidth);
    }

    void everyLayoutRestoresTheControls() {
        TallDialog dialog(400);
        dialog.setVisibleHeight(dialog.contentHeight() - 100);
        dialog.onVScroll(int(ScrollCode::PageDown), 0);
        QCOMPARE(dialog.topY(), -96);

        // A smaller dialog: back at the top, with a larger range.
        dialog.setVisibleHeight(dialog.contentHeight() - 180);
        QCOMPARE(dialog.scrollBar()->value(), 0);
        QCOMPARE(dialog.scrollBar()->maximum(), 22);
        QCOMPARE(dialog.topY(), 0);
    }

    void theKeyboardShrinksTheDialog() {
        TallDialog dialog(300);
        const QRect available = dialog.screen()->availableGeometry();
        QVERIFY(dialog.contentHeight() < available.height());
        QVERIFY(!dialog.scrollBar()->isEnabled());
        dialog.onVScroll(int(ScrollCode::PageDown), 0);

        const int room = dialog.contentHeight() - 60;
        CScrollDlg::setKeyboardStateOverride(
            CScrollDlg::KeyboardState{true, available.top() + room});
        dialog.keyboardStateChanged();
        QCOMPARE(dialog.frameGeometry().height(), room);
        QCOMPARE(dialog.frameGeometry().top(), available.top());
        QVERIFY(dialog.scrollBar()->isEnabled());
        const int maximum = (dialog.contentHeight() - dialog.height()) >> 3;
        QVERIFY(maximum >= 60 >> 3);
        QCOMPARE(dialog.scrollBar()->maximum(), maximum);
        dialog.onVScroll(int(ScrollCode::PageDown), 0);
        QCOMPARE(dialog.topY(), -8 * maximum);

        // The keyboard grows while the content is scrolled: controls back in place,
        // position 0, a smaller dialog and a larger range.
        CScrollDlg::setKeyboardStateOverride(
            CScrollDlg::KeyboardState{true, available.top() + room - 80});
        dialog.keyboardStateChanged();
        QCOMPARE(dialog.frameGeometry().height(), room - 80);
        QCOMPARE(dialog.scrollBar()->value(), 0);
        QCOMPARE(dialog.scrollBar()->maximum(), maximum + 10);
        QCOMPARE(dialog.topY(), 0);
    }

    void aDialogWithoutControlsScrollsNothing() {
        CScrollDlg dialog;
        dialog.setupScrolling();
        QCOMPARE(dialog.contentHeight(), 0);
        dialog.onVScroll(int(ScrollCode::PageDown), 0);
        dialog.onVScroll(int(ScrollCode::LineDown), 0);
        QCOMPARE(dialog.scrollBar()->value(), 0);
        QCOMPARE(dialog.contentWidget()->pos(), QPoint(0, 0));
    }

    void theFocusedFieldIsScrolledIntoView() {
        TallDialog dialog(400);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.setVisibleHeight(dialog.contentHeight() - 96);
        QVERIFY(dialog.scrollBar()->isEnabled());
        dialog.bottom->setFocus();
        QTRY_VERIFY(dialog.bottom->hasFocus());
        const int bottomY = dialog.bottom->mapTo(&dialog, QPoint(0, 0)).y();
        QVERIFY(bottomY >= 0);
        QVERIFY(bottomY + dialog.bottom->height() <= dialog.height());
        dialog.top->setFocus();
        QCOMPARE(dialog.topY(), 0);
    }
};

QTEST_MAIN(ScrollDlgTest)
#include "tst_scrolldlg.moc"
