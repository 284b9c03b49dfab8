#pragma once
// CivilTime and SYSTEMTIME share their layout; these copy one into the other.

#include <windows.h>

#include "CivilTime.h"

namespace qv::win {

inline CivilTime FromSystemTime(const SYSTEMTIME& st) {
    return CivilTime{st.wYear,   st.wMonth,  st.wDayOfWeek, st.wDay,
                     st.wHour,   st.wMinute, st.wSecond,    st.wMilliseconds};
}

inline SYSTEMTIME ToSystemTime(const CivilTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDayOfWeek = static_cast<WORD>(t.dayOfWeek);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    st.wMilliseconds = static_cast<WORD>(t.milliseconds);
    return st;
}

}  // namespace qv::win
