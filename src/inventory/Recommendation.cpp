#include "inventory/Recommendation.hpp"

namespace dorvale {

std::string_view rawValue(RecommendedSection section) {
    switch (section) {
    case RecommendedSection::SmartClean:
        return "smartClean";
    case RecommendedSection::Large:
        return "large";
    case RecommendedSection::Junk:
        return "junk";
    case RecommendedSection::Developer:
        return "developer";
    case RecommendedSection::Explorer:
        return "explorer";
    }
    return {};
}

} // namespace dorvale
