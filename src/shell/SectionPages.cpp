#include "shell/SectionPages.hpp"

#include "analysis/ExplorerView.hpp"
#include "analysis/LargeFilesView.hpp"
#include "analysis/OverviewView.hpp"
#include "analysis/TypesView.hpp"
#include "cleanup/AppsView.hpp"
#include "cleanup/DeveloperView.hpp"
#include "cleanup/DuplicatesView.hpp"
#include "cleanup/HistoryView.hpp"
#include "cleanup/JunkView.hpp"
#include "cleanup/LeftoversView.hpp"
#include "cleanup/LoginItemsView.hpp"
#include "cleanup/SmartCleanView.hpp"
#include "cleanup/SystemDataView.hpp"
#include "shell/SectionPlaceholder.hpp"

namespace dorvale {

// One case per section, with no default, so a new section cannot go without a page and each
// screen replaces only its own line when it joins the program.
QWidget* makeSectionPage(AppSection section, AppState& state) {
    switch (section) {
    case AppSection::SmartClean:
        return new SmartCleanView(state);
    case AppSection::Overview:
        return new OverviewView(state);
    case AppSection::Explorer:
        return ExplorerView::makePage(state);
    case AppSection::Types:
        return TypesView::makePage(state);
    case AppSection::Large:
        return LargeFilesView::makePage(state);
    case AppSection::SystemData:
        return new SystemDataView(state);
    case AppSection::Apps:
        return new AppsView(state);
    case AppSection::Leftovers:
        return new LeftoversView(state);
    case AppSection::LoginItems:
        return new LoginItemsView(state);
    case AppSection::Junk:
        return new JunkView(state);
    case AppSection::Developer:
        return new DeveloperView(state);
    case AppSection::Duplicates:
        return new DuplicatesView(state);
    case AppSection::History:
        return new HistoryView(state);
    }
    return new SectionPlaceholder(state, section);
}

} // namespace dorvale
