#pragma once
// What every layout table of the program must obey, as checks the three
// layout tests share: controls inside the client area, unique ids, the tab
// order, and pixels that keep the twips' geometry at any DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "ui/layout/control_design.h"
#include "ui/layout/pixels.h"

namespace lk::ui::rules {

inline constexpr unsigned kBaseDpi = 96;
inline constexpr unsigned kLargerDpis[] = {120, 144, 168, 192};

// The area two rectangles share; touching edges share none.
struct Overlap {
  int width;
  int height;
  bool any() const { return width > 0 && height > 0; }
};

template <typename Rect>
Overlap OverlapOf(const Rect& a, const Rect& b) {
  return {std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left),
          std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top)};
}

inline bool Inside(const TwipRect& r, int width, int height) {
  return r.left >= 0 && r.top >= 0 && r.left + r.width <= width && r.top + r.height <= height;
}

inline std::string Describe(const ControlDesign& c) { return "control " + std::to_string(c.id); }

inline void ExpectUniqueIds(std::span<const ControlDesign> controls) {
  std::set<int> ids;
  for (const auto& c : controls) EXPECT_TRUE(ids.insert(c.id).second) << Describe(c) << " twice";
}

// The ids of the controls Tab visits, in the order it visits them.
inline std::vector<int> TabOrder(std::span<const ControlDesign> controls) {
  std::vector<int> order;
  for (const auto& c : controls)
    if (IsTabStop(c.kind)) order.push_back(c.id);
  return order;
}

// Rounding each control on its own must not open a seam between controls
// that overlap in twips, nor make two that are apart (or only touch) overlap;
// and every place and size grows with the DPI, within what rounding at both
// DPIs explains.
inline void ExpectPixelsKeepTheLayout(std::span<const ControlDesign> controls) {
  for (const unsigned dpi : kLargerDpis) {
    const double scale = static_cast<double>(dpi) / kBaseDpi;
    const double rounding = 0.5 + 0.5 * scale;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const auto& a = controls[i];
      const PixelRect base = ToPixels(a.rect, kBaseDpi);
      const PixelRect scaled = ToPixels(a.rect, dpi);
      EXPECT_LE(std::abs(scaled.left - base.left * scale), rounding) << Describe(a) << " at " << dpi;
      EXPECT_LE(std::abs(scaled.top - base.top * scale), rounding) << Describe(a) << " at " << dpi;
      EXPECT_LE(std::abs(scaled.width - base.width * scale), rounding) << Describe(a) << " at " << dpi;
      EXPECT_LE(std::abs(scaled.height - base.height * scale), rounding) << Describe(a) << " at " << dpi;
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        const auto& b = controls[j];
        EXPECT_EQ(OverlapOf(a.rect, b.rect).any(), OverlapOf(scaled, ToPixels(b.rect, dpi)).any())
            << Describe(a) << " and " << Describe(b) << " at " << dpi << " DPI";
      }
    }
  }
}

}  // namespace lk::ui::rules
