// The program's French texts as the tests read them back from the screen or
// a snapshot (UTF-8, trailing blanks removed), so that a change of wording is
// made here once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace arrowgrid::test_support {

// Intro screens.
inline constexpr char INTRO_FIRST_ROW[] =
    "Ce programme peut prendre un temps assez long avant d'avoir exploré";
inline constexpr char INTRO_THANKS_ROW[] =
    "Si vous êtes content de ce programme, merci de nous le faire savoir,";
// The pause after a message or a screen, at column 1.
inline constexpr char PRESS_RETURN[] = "pressez <RETURN> pour continuer";

// Word entry.
inline constexpr char ENTRY_TITLE[] = "entrez les mots à disposer en grille";
inline constexpr char ENTRY_END_QUESTION[] = "entrée terminée (O/N)";
inline constexpr char TOO_FEW_WORDS[] = "nombre de mots insuffisant";

// The refusal of a word with count characters other than letters and the hyphen.
inline std::string untreatedCharactersRow(int32_t count) {
  return "ce mot contient " + std::to_string(count) + "caractères non traités";
}

// Row of word number: "mot No" in columns 1-6, the number from 16, the word from 29.
inline std::string listedWordRow(int32_t number, const std::string& word = "") {
  std::string row = "mot No         " + std::to_string(number);
  if (word.empty()) return row;
  row.resize(28, ' ');
  return row + word;
}

// Display dialog.
inline constexpr char SELECTION_FIRST_ROW[] = "entrez <0> pour afficher toutes les solutions valides";
// The dialog's prompt with its default as printed (a blank or a minus sign first).
inline std::string choiceRow(std::string_view signedDefault) {
  return "Votre choix (df" + std::string(signedDefault) + ") =";
}

// Report and search.
inline constexpr char REPORT_PAUSE_PROMPT[] = "pressez <return> pour continuer";
inline constexpr char REPORT_MENU_PROMPT[] = "entrez <M> pour aller au menu, ou";
inline constexpr char TRIALS_LABEL[] = "Nb d'essais effectués : ";
// Row 21 of a report or of the search's end: the trials count from column 40.
inline std::string trialsRow(std::string_view count) {
  return std::string(39, ' ') + TRIALS_LABEL + std::string(count);
}
// Row 22 at the end of the search.
inline const std::string SEARCH_FINISHED_ROW = std::string(29, ' ') + "La recherche est terminée";

// Result menu.
inline constexpr char MENU_TITLE[] = "MENU";
inline constexpr char MENU_FINISH_ROW[] = "       <F> pour finir l'exécution";

}  // namespace arrowgrid::test_support
