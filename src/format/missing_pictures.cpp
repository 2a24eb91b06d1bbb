#include "format/missing_pictures.h"

#include <filesystem>
#include <map>
#include <system_error>

#include "document/paths.h"
#include "format/history_reader.h"
#include "history/play.h"

namespace {

// The file the user points at for `name`; `name` itself when none.
std::string AskFor(const std::string& name, UserDialogs& dialogs, FileDialog& openBG) {
  const std::string bare = PathBareName(name);
  if (dialogs.Ask(bare + "が見つかりません。場所を指定しますか？", "確認", QuestionButtons::YesNo) != ModalResult::Yes)
    return name;
  const std::string ext = PathExtension(name);
  openBG.FileName = bare;
  openBG.FilterIndex = (ext == ".jpg" || ext == ".JPG") ? 2 : 1;
  if (!dialogs.Execute(openBG)) return name;
  const std::string chosenFolder = PathFolder(openBG.FileName);
  if (!chosenFolder.empty()) {
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::path(chosenFolder), ec);
  }
  return openBG.FileName;
}

}  // namespace

void AskForMissingPictures(AppState& S, const std::vector<std::string>& missing, UserDialogs& dialogs,
                           FileDialog& openBG) {
  std::map<std::string, std::string> located;
  for (const std::string& name : missing) {
    std::string where = FoundPicture(name).value_or(std::string());
    if (where.empty()) where = AskFor(name, dialogs, openBG);
    if (where != name) located.emplace(name, where);
  }
  RenamePictures(S, located);
}
