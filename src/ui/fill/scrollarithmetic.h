#pragma once

// The arithmetic of the scrolling dialogs, kept apart from any widget so that it can be
// checked without pixels. Positions are in scroll units of kScrollUnitPixels pixels.

constexpr int kScrollUnitPixels = 8;

// The requests a scroll bar makes, numbered as the dialogs have always numbered them.
enum class ScrollCode {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4, // the thumb was released at a position
    ThumbTrack = 5,    // the thumb is being dragged
    EndScroll = 8,
};

struct ScrollRange {
    int minimum = 0;
    int maximum = 0; // 0 or negative when everything fits
};

// 0 .. (content - visible) / 8, rounded towards minus infinity: the last few pixels of a
// content that is not a whole number of units taller than the view cannot be scrolled in.
ScrollRange scrollRangeFor(int contentHeight, int visibleHeight);

// The scroll bar is enabled only when the content is taller than the visible height.
bool scrollingNeeded(int contentHeight, int visibleHeight);

struct ScrollStep {
    int position = 0;
    bool storeInBar = true; // false while the thumb is dragged
};

// The new position for a request. `position` is the position stored in the scroll bar,
// `thumbPosition` the release position of the thumb relative to the minimum and
// `trackPosition` the dragged thumb's position relative to the minimum.
ScrollStep nextScrollPosition(ScrollCode code, ScrollRange range, int position, int thumbPosition,
                              int trackPosition);

// The height a dialog window may take on the screen: from the top of the screen area available
// to applications down to the top of the on-screen keyboard while one is shown, otherwise down
// to the bottom of that area. A dialog's menu bar takes its height from this room.
int roomHeight(int screenTop, int screenBottom, bool keyboardShown, int keyboardTop);
