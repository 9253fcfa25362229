#pragma once
// The editor's "Nachschlagen": which identifier the fields hold, and how a
// found title meets the values the editor shows. Empty fields are filled at
// once; a field that holds something else is offered for a choice.

#include "editor/TitleEditorModel.h"
#include "exchange/Reference.h"
#include "lookup/Identifier.h"

#include <string>
#include <vector>

namespace folianto {

// The ISBN or DOI of "ISBN:", else a DOI in "Quelle:"; the ISBN field's
// error when neither holds one.
LookupId EditorLookupId(const TitleEditorValues& values);

// One line of the edition choice: year, edition, publisher, pages.
std::string EditionSummary(const Reference& edition);

struct FieldOffer {
    EditControl Control;
    std::string Label;   // the caption the editor shows, without its colon
    std::string Current; // what the field holds
    std::string Found;   // what the source has
};

// Fills the empty fields from `found` and returns the fields where both
// hold different texts, for the user's choice.
std::vector<FieldOffer> FillFromLookup(TitleEditorModel& model, const Reference& found);
// Takes the found value of one offered field.
void TakeOffer(TitleEditorModel& model, const FieldOffer& offer);

} // namespace folianto
