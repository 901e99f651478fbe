#pragma once

// Fills the language at the given index of UILs with the English texts.
void FillEnglishTexts(int languageIndex);
