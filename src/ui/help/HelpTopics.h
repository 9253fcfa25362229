#pragma once
// Help context numbers: one page of the help window each.

namespace folianto {

enum HelpTopic : int {
    HelpOverview = 1,
    HelpTitleGrid = 100,
    HelpFiles = 200,
    HelpSorting = 210,
    HelpFilter = 220,
    HelpKeywords = 230,
    HelpLiteratureTypes = 240,
    HelpImport = 250,
    HelpExport = 260,
    HelpKeys = 270,
    HelpTitleEditor = 280,
    HelpOptions = 290,
    HelpBibTexRis = 300,
    HelpQuickStart = 303,
    HelpDuplicates = 310,
    HelpCitationStyles = 320,
    HelpLookup = 330,
};

} // namespace folianto
