#pragma once

#include <QtGlobal>

// Recognises a quick series of taps (clicks): `needed` taps, each within `windowMs`
// milliseconds of the first tap of the series. A slower tap, or a clock that went backwards,
// starts a new series with itself as its first tap.
class TapSeries {
public:
    TapSeries(int needed, quint64 windowMs) : m_needed(needed), m_windowMs(windowMs) {}

    // True when this tap completes a series; the next tap then starts a new one.
    bool tap(quint64 timestampMs) {
        if (m_count == 0 || timestampMs < m_first || timestampMs - m_first > m_windowMs) {
            m_first = timestampMs;
            m_count = 0;
        }
        if (++m_count < m_needed)
            return false;
        m_count = 0;
        return true;
    }

private:
    int m_needed;
    quint64 m_windowMs;
    quint64 m_first = 0;
    int m_count = 0;
};
