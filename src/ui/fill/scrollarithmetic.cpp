#include "ui/fill/scrollarithmetic.h"

#include <algorithm>

ScrollRange scrollRangeFor(int contentHeight, int visibleHeight) {
    return {0, (contentHeight - visibleHeight) >> 3};
}

bool scrollingNeeded(int contentHeight, int visibleHeight) {
    return contentHeight > visibleHeight;
}

ScrollStep nextScrollPosition(ScrollCode code, ScrollRange range, int position, int thumbPosition,
                              int trackPosition) {
    switch (code) {
    case ScrollCode::LineUp:
        return {std::max(position - 1, range.minimum), true};
    case ScrollCode::LineDown:
        return {std::min(position + 1, range.maximum), true};
    case ScrollCode::PageUp:
        return {range.minimum, true};
    case ScrollCode::PageDown:
        return {range.maximum, true};
    case ScrollCode::ThumbPosition:
        return {range.minimum + thumbPosition, true};
    case ScrollCode::ThumbTrack:
        return {range.minimum + trackPosition, false};
    case ScrollCode::EndScroll:
        break;
    }
    return {position, true};
}

int roomHeight(int screenTop, int screenBottom, bool keyboardShown, int keyboardTop) {
    if (keyboardShown)
        return std::clamp(keyboardTop, screenTop, screenBottom) - screenTop;
    return screenBottom - screenTop;
}
