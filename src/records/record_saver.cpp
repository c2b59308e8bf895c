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

} // namespace quorvin
