#include "platform/window_props.h"

#include <map>
#include <mutex>
#include <utility>

namespace plat {
namespace {

std::mutex g_propsMutex;
// Never destroyed: windows may go while the process ends.
std::map<std::pair<uint32_t, std::string>, void*>& Props() {
  static auto* props = new std::map<std::pair<uint32_t, std::string>, void*>;
  return *props;
}

}  // namespace

bool SetProp(WindowHandle window, const std::string& name, void* value) {
  if (!IsWindow(window)) return false;
  std::lock_guard<std::mutex> lock(g_propsMutex);
  Props()[{window.id, name}] = value;
  return true;
}

void* GetProp(WindowHandle window, const std::string& name) {
  std::lock_guard<std::mutex> lock(g_propsMutex);
  auto it = Props().find({window.id, name});
  return it == Props().end() ? nullptr : it->second;
}

void* RemoveProp(WindowHandle window, const std::string& name) {
  std::lock_guard<std::mutex> lock(g_propsMutex);
  auto it = Props().find({window.id, name});
  if (it == Props().end()) return nullptr;
  void* value = it->second;
  Props().erase(it);
  return value;
}

void RemoveAllProps(WindowHandle window) {
  std::lock_guard<std::mutex> lock(g_propsMutex);
  auto& props = Props();
  for (auto it = props.lower_bound({window.id, std::string()});
       it != props.end() && it->first.first == window.id;)
    it = props.erase(it);
}

}  // namespace plat
