#include "records/started_by_editor.h"

std::atomic<int> bFromEditor{0};
std::atomic<int> bTestPlay{0};
