#include "texts.h"

#include <array>

namespace vexel {
namespace {

constexpr auto GERMAN_TEXTS = std::to_array<TextEntry>({
    {1, "Vexel"},
    {2, "&Spiel"},
    {3, "&Neues Spiel"},
    {4, "&Spiel abbrechen"},
    {5, "S&ieger"},
    {6, "&Beenden"},
    {7, "&Optionen"},
    {8, "&Spieler..."},
    {9, "&Umgebung..."},
    {10, "Switch to &English"},
    {11, "&Optionen speichern"},
    {12, "&Zurücksetzen"},
    {13, "&Zug zurücknehmen"},
    {14, "&Tipp"},
    {17, "&Hilfe"},
    {18, "&Inhalt"},
    {19, "I&nfo"},
    {50, "Abbruch"},
    {51, "Hilfe"},
    {52, "Ja"},
    {53, "Nein"},
    {101, "Vexel"},
    {102, "Version 1.1 / 1999"},
    {200, "Spieler"},
    {201, "Mensch"},
    {202, "Computer"},
    {203, "spielt nicht"},
    {204, "Farbe"},
    {205, "Status"},
    {206, "Name"},
    {207, "Spielbrett"},
    {208, "Farben rotieren"},
    {209, "&Immer 10 Figuren"},
    {220, "Bitte wählen Sie einen Computerspieler aus:"},
    {221, "Orvian (sehr gut)"},
    {222, "Quendor (gut)"},
    {223, "Mimsel"},
    {224, "Orvian"},
    {225, "Quendor"},
    {226, "Mimsel"},
    {227, "Velmar (meisterhaft)"},
    {228, "Velmar"},
    {300, "Umgebung"},
    {301, "Mensch"},
    {302, "Computer"},
    {303, "Warp 9,3"},
    {304, "Turbo"},
    {305, "Schnell"},
    {306, "Gemütlich"},
    {307, "Langsam"},
    {308, "Laangsaaamm"},
    {309, "- Geschwindigkeiten -"},
    {310, "&Fenstergröße:"},
    {311, "&Richtung markieren"},
    {312, "Sound beim &Ziehen"},
    {350, "Ruhm und Ehre"},
    {351, "Die Sieger"},
    {352, "Noch ist das Spiel spannend!"},
    {353, "Weiter"},
    {354, "Beenden"},
    {800, "Wirklich?"},
    {801, "Das laufende Spiel abbrechen?"},
    {802, "Optionen"},
    {803, "Die Standardeinstellungen wurden wieder eingetragen."},
    {850, "Zug Nr."},
});

constexpr auto ENGLISH_TEXTS = std::to_array<TextEntry>({
    {1, "Vexel Stars"},
    {2, "&Game"},
    {3, "&New game"},
    {4, "&Abort game"},
    {5, "&Winners..."},
    {6, "E&xit"},
    {7, "&Options"},
    {8, "&Players..."},
    {9, "&Environment"},
    {10, "Auf &Deutsch schalten"},
    {11, "S&ave options"},
    {12, "&Reset"},
    {13, "&Take back move"},
    {14, "&Hint"},
    {17, "&Help"},
    {18, "&Contents"},
    {19, "&About..."},
    {50, "Cancel"},
    {51, "Help"},
    {52, "Yes"},
    {53, "No"},
    {101, "Vexel Stars"},
    {102, "Version 1.1 / 1999"},
    {200, "Players"},
    {201, "Human"},
    {202, "Computer"},
    {203, "Does not play"},
    {204, "Color"},
    {205, "Actor"},
    {206, "Name"},
    {207, "Board"},
    {208, "Rotate colors"},
    {209, "&Always 10 figures"},
    {220, "Please choose a computer player:"},
    {221, "Orvian (very good)"},
    {222, "Quenny (good)"},
    {223, "Plimsy"},
    {224, "Orvian"},
    {225, "Quenny"},
    {226, "Plimsy"},
    {227, "Velmar (masterly)"},
    {228, "Velmar"},
    {300, "Environment"},
    {301, "Human"},
    {302, "Computer"},
    {303, "Warp 9.3"},
    {304, "Turbo"},
    {305, "Fast"},
    {306, "Comfortable"},
    {307, "Slow"},
    {308, "Slloooooww"},
    {309, "- Speed -"},
    {310, "&Window size:"},
    {311, "&Mark direction"},
    {312, "Sound when &moving"},
    {350, "Hall Of Fame"},
    {351, "The Winners"},
    {352, "The game is still tense!"},
    {353, "Continue"},
    {354, "Game Over"},
    {800, "Really?"},
    {801, "Abort the running game?"},
    {802, "Options"},
    {803, "The default settings are restored."},
    {850, "Move No."},
});

// Lookup relies on ascending ids; the two languages must name the same ids.
constexpr bool tablesSortedAndAligned() {
    if (GERMAN_TEXTS.size() != ENGLISH_TEXTS.size()) return false;
    for (std::size_t i = 0; i < GERMAN_TEXTS.size(); ++i) {
        if (GERMAN_TEXTS[i].id != ENGLISH_TEXTS[i].id) return false;
        if (i > 0 && GERMAN_TEXTS[i - 1].id >= GERMAN_TEXTS[i].id) return false;
    }
    return true;
}
static_assert(tablesSortedAndAligned(), "text tables must be sorted by id and hold the same ids");

}  // namespace

std::span<const TextEntry> textTable(Language language) {
    switch (language) {
    case Language::German: return GERMAN_TEXTS;
    case Language::English: return ENGLISH_TEXTS;
    }
    return {};
}

std::string_view lookupText(Language language, std::uint16_t id) {
    const std::span<const TextEntry> rows = textTable(language);
    const std::int32_t wanted = id;
    // Plain binary search over the sorted rows: low and high are row indices.
    int low = 0;
    int high = int(rows.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        if (rows[middle].id == wanted) return rows[middle].text;
        if (rows[middle].id > wanted)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return {};
}

}  // namespace vexel
