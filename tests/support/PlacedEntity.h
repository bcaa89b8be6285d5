// A diagram object of class T with its two corner points already placed, as
// the two-click tools leave it.
#pragma once
#include <memory>

#include "diagram/Geometry.h"

template <class T>
std::unique_ptr<T> Placed(CPoint p0, CPoint p1) {
    auto e = std::make_unique<T>();
    e->GetPoint(0) = p0;
    e->GetPoint(1) = p1;
    return e;
}
