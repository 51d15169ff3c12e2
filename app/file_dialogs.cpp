#include "app/file_dialogs.h"

#include <cstring>

#include "app/dialog_display.h"
#include "base/text_format.h"
#include "platform/file_dialog.h"
#include "records/system_ini.h"

namespace {

bool On8BitDirectDraw() {
  cDialogDisplay& display = DialogDisplay();
  return display.IsRunning() && !display.IsDirect3D() && display.ColorBits() == 8;
}

// The dialog draws over the game's display; under 8 bits colour index 0
// would otherwise show the game's colour in the dialog.
bool RunOverDisplay(const plat::FileDialogRequest& request) {
  const bool palette = On8BitDirectDraw();
  if (palette) DialogDisplay().SetPaletteEntry0(0, 0, 0, 0);
  const bool chosen = plat::RunFileDialog(request);
  if (palette) DialogDisplay().RestorePaletteEntry0();
  return chosen;
}

// The parts of the buffer up to its double NUL: a folder followed by names
// becomes one path per name; one part is a whole path already.
void SplitSelection(const char* buffer, int size, cVector<std::string>& list) {
  const std::string folder(buffer, strnlen(buffer, static_cast<size_t>(size)));
  std::string part;
  int parts = 0;
  for (int i = 0; i < size; ++i) {
    if (buffer[i] != '\0') {
      part += buffer[i];
      continue;
    }
    if (parts > 0) list.push_back(part);
    ++parts;
    part.clear();
    if (i + 1 >= size || buffer[i + 1] == '\0') break;
  }
  if (parts >= 2) {
    for (size_t i = 0; i < list.size(); ++i) list[i] = FormatText("%s\\%s", folder.c_str(), list[i].c_str());
  } else {
    list.push_back(folder);
  }
}

}  // namespace

int OpenFileDialog(plat::WindowHandle owner, char* buffer, int size, const char* folder, const char* title,
                   const char* filter, const char* defExt, int multiSelect, cVector<std::string>* list) {
  if (!buffer || size <= 0) return 0;
  std::memset(buffer, 0, static_cast<size_t>(size));
  plat::FileDialogRequest request;
  request.owner = owner;
  request.english = SystemIni.nEnglish != 0;
  request.mustExist = true;
  request.multiSelect = multiSelect != 0;
  request.title = title ? title : "";
  request.folder = folder ? folder : "";
  request.filter = filter;
  request.defaultExt = defExt ? defExt : "";
  request.buffer = buffer;
  request.bufferSize = static_cast<size_t>(size);
  if (!RunOverDisplay(request)) return 0;
  if (list) SplitSelection(buffer, size, *list);
  return 1;
}

int SaveFileDialog(plat::WindowHandle owner, char* buffer, const char* folder, const char* title,
                   const char* filter, const char* defExt, int keep) {
  if (!buffer) return 0;
  if (!keep) std::memset(buffer, 0, FILE_DIALOG_BUFFER);
  plat::FileDialogRequest request;
  request.owner = owner;
  request.english = SystemIni.nEnglish != 0;
  request.save = true;
  request.overwritePrompt = true;
  request.title = title ? title : "";
  request.folder = folder ? folder : "";
  request.filter = filter;
  request.defaultExt = defExt ? defExt : "";
  request.buffer = buffer;
  request.bufferSize = FILE_DIALOG_BUFFER;
  return RunOverDisplay(request) ? 1 : 0;
}
