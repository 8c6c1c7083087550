#pragma once
// The system metrics the controls read, with the values of a 96-dpi classic desktop.
namespace vyr::gdi {

constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;

// The metric's value; 0 for an index not in the list above, as Windows answers unknown ones.
int GetSystemMetrics(int index);

} // namespace vyr::gdi
