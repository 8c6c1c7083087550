#include "platform/gdi/plaindrawing.h"

#include <atomic>

namespace vyr::gdi {
namespace {

std::atomic<int> gPlain{0};

} // namespace

PlainDrawing::PlainDrawing() { ++gPlain; }
PlainDrawing::~PlainDrawing() { --gPlain; }

bool plainDrawing() { return gPlain.load(std::memory_order_relaxed) > 0; }

} // namespace vyr::gdi
