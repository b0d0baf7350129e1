#pragma once

class ITextResource;

// The process-wide text provider: the one the data-bound controls and the control factory
// hand to the validators they create. The online view control puts its own provider here
// when Init accepts the DTM. Touched from the UI thread only.
ITextResource* GetProcessTextProvider();
void SetProcessTextProvider(ITextResource* provider);
// Empties the slot when it holds `provider`, so that a control that goes away leaves no
// dangling provider behind, while another control's provider stays.
void ForgetProcessTextProvider(const ITextResource* provider);
