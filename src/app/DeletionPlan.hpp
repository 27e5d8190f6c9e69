#pragma once

#include "app/PlanItem.hpp"
#include "platform/Uuid.hpp"

#include <QString>

#include <vector>

namespace dorvale {

/// What the deletion confirmation sheet shows. Identified by `id`, fresh for each request.
struct DeletionPlan {
    Uuid id = Uuid::random();
    /// The sheet's title.
    QString title{};
    /// In the order the caller gave them, items inside another item already left out.
    std::vector<PlanItem> items{};
};

} // namespace dorvale
