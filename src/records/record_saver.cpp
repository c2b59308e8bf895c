// Recording a solved game.
#include "records/record_saver.h"

namespace quorvin {

void saveRecord(Game& game, int tenths, RecordsFile& records, std::time_t now) {
    Platform& platform = game.platform();
    std::string name =
        platform.askText("Conseguido!!", "Escribe tu nombre", game.playerName).value_or("");
    if (name.empty()) name = "jugador";
    game.playerName = name;
    const std::string text =
        recordText(tenths, localDate(now), name, categoryIndex(game.category()));
    const FileStatus status = records.append(text);
    if (status == FileStatus::Busy)
        platform.inform("Otra copia del juego está usando el archivo de records. Tu record se "
                        "guardará con el siguiente.",
                        true);
    else if (status != FileStatus::Ok)
        platform.inform("No se pudo guardar el record en " + records.path() +
                            ". Se guardará con el siguiente.",
                        true);
}

bool mayCloseWithRecords(RecordsFile& records, Platform& platform) {
    // The question is asked on every close while the file refuses: "No" keeps the game open, so
    // the player can free space and close again, and the records go on waiting.
    if (records.saveUnsaved() == FileStatus::Ok) return true;
    return platform.askYesNo(unsavedRecordsQuestion(records.unsavedCount(), records.path()));
}

std::string unsavedRecordsQuestion(std::size_t count, const std::string& path) {
    if (count == 1)
        return "No se pudo guardar 1 record en " + path +
               ". Si cierras el juego, se perderá.\n¿Quieres cerrar el juego?";
    return "No se pudieron guardar " + std::to_string(count) + " records en " + path +
           ". Si cierras el juego, se perderán.\n¿Quieres cerrar el juego?";
}

} // namespace quorvin
