#include "tests/fakes/SimulatedRegistry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts;
  std::stringstream stream(path);
  std::string part;
  while (std::getline(stream, part, '\\')) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

}  // namespace

std::shared_ptr<SimulatedRegistry::Key> SimulatedRegistry::Find(const std::shared_ptr<Key>& from,
                                                                 const std::string& path) const {
  std::shared_ptr<Key> key = from;
  for (const std::string& part : Components(path)) {
    auto found = key->subkeys.find(Upper(part));
    if (found == key->subkeys.end()) return nullptr;
    key = found->second;
  }
  return key;
}

std::pair<std::shared_ptr<SimulatedRegistry::Key>, std::string> SimulatedRegistry::Locate(
    const std::string& path) const {
  const std::string user = "HKCU\\";
  if (Upper(path.substr(0, user.size())) == user) return {userRoot_, path.substr(user.size())};
  const std::string view64 = "HK64\\";
  if (Upper(path.substr(0, view64.size())) == view64) return {root64_, path.substr(view64.size())};
  return {root_, path};
}

std::shared_ptr<SimulatedRegistry::Key> SimulatedRegistry::Make(const std::string& path) {
  auto [key, rest] = Locate(path);
  for (const std::string& part : Components(rest)) {
    std::shared_ptr<Key>& child = key->subkeys[Upper(part)];
    if (!child) {
      child = std::make_shared<Key>();
      child->parent = key;
      child->name = part;
    }
    key = child;
  }
  return key;
}

void SimulatedRegistry::CreateKey(const std::string& path) { Make(path); }

void SimulatedRegistry::SetValue(const std::string& path, const std::string& name, DWORD type,
                                 std::vector<BYTE> data) {
  std::shared_ptr<Key> key = Make(path);
  key->values[Upper(name)] = Value{type, std::move(data)};
  key->valueNames[Upper(name)] = name;
}

void SimulatedRegistry::SetWideValue(const std::string& path, const std::string& name, DWORD type,
                                     std::vector<BYTE> data) {
  SetValue(path, name, type, std::move(data));
  Make(path)->values[Upper(name)].wide = true;
}

void SimulatedRegistry::SetString(const std::string& path, const std::string& name, const std::string& text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  SetValue(path, name, REG_SZ, std::move(data));
}

void SimulatedRegistry::SetDword(const std::string& path, const std::string& name, DWORD number) {
  std::vector<BYTE> data(sizeof number);
  std::memcpy(data.data(), &number, sizeof number);
  SetValue(path, name, REG_DWORD, std::move(data));
}

void SimulatedRegistry::DenyAccess(const std::string& path) { Make(path)->denied = true; }

void SimulatedRegistry::AllowReadOnly(const std::string& path) { Make(path)->readOnly = true; }

bool SimulatedRegistry::KeyExists(const std::string& path) const {
  auto [root, rest] = Locate(path);
  return Find(root, rest) != nullptr;
}

std::shared_ptr<SimulatedRegistry::Key> SimulatedRegistry::FromHandle(HKEY key, LONG& error) const {
  if (key == HKEY_LOCAL_MACHINE) return root_;
  if (key == HKEY_CURRENT_USER) return userRoot_;
  auto found = handles_.find(key);
  if (found == handles_.end()) {
    error = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  if (found->second->deleted) {
    error = ERROR_KEY_DELETED;
    return nullptr;
  }
  return found->second;
}

LONG SimulatedRegistry::Open(HKEY root, LPCSTR path, DWORD, REGSAM access, PHKEY result) {
  lastAccess_ = access;
  LONG error = ERROR_SUCCESS;
  std::shared_ptr<Key> from = FromHandle(root, error);
  if (!from) return error;
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  // The view flag picks a view; it is no access right.
  if ((access & KEY_WOW64_64KEY) != 0) {
    if (views == Views::FlagRefused) return ERROR_ACCESS_DENIED;
    if (views == Views::Two && root == HKEY_LOCAL_MACHINE) from = root64_;
  }
  const REGSAM rights = access & ~KEY_WOW64_64KEY;
  std::shared_ptr<Key> key = Find(from, path != nullptr ? path : "");
  if (!key) return ERROR_FILE_NOT_FOUND;
  if (key->denied && rights != 0) return ERROR_ACCESS_DENIED;
  if (key->readOnly && (rights & ~KEY_READ) != 0) return ERROR_ACCESS_DENIED;
  HKEY handle = reinterpret_cast<HKEY>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = key;
  *result = handle;
  return ERROR_SUCCESS;
}

LONG SimulatedRegistry::Query(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size, bool wide) {
  LONG error = ERROR_SUCCESS;
  std::shared_ptr<Key> from = FromHandle(key, error);
  if (!from) return error;
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  auto found = from->values.find(Upper(name != nullptr ? name : ""));
  if (found == from->values.end()) return ERROR_FILE_NOT_FOUND;
  Value value = found->second;
  const bool text = value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
  if (text && wide && !value.wide) {
    std::vector<BYTE> converted;
    for (BYTE byte : value.data) converted.insert(converted.end(), {byte, BYTE{0}});  // ISO 8859-1 to UTF-16LE
    value.data = std::move(converted);
  }
  if (text && !wide && value.wide) {
    std::vector<BYTE> converted;
    for (std::size_t at = 0; at + 1 < value.data.size(); at += 2) {
      converted.push_back(value.data[at + 1] == 0 ? value.data[at] : BYTE{'?'});
    }
    value.data = std::move(converted);
  }
  const auto length = static_cast<DWORD>(value.data.size());
  if (type != nullptr) *type = value.type;
  if (data == nullptr) {
    if (size != nullptr) *size = length;
    return ERROR_SUCCESS;
  }
  const DWORD room = *size;
  *size = length;
  if (room < length) return ERROR_MORE_DATA;
  std::copy(value.data.begin(), value.data.end(), data);
  std::fill(data + length, data + room, BYTE{0xCD});
  return ERROR_SUCCESS;
}

std::vector<BYTE> SimulatedRegistry::ValueData(const std::string& path, const std::string& name) const {
  auto [root, rest] = Locate(path);
  const std::shared_ptr<Key> key = Find(root, rest);
  if (!key) return {};
  auto found = key->values.find(Upper(name));
  return found == key->values.end() ? std::vector<BYTE>() : found->second.data;
}

LONG SimulatedRegistry::EnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameChars, LPDWORD type) {
  LONG error = ERROR_SUCCESS;
  std::shared_ptr<Key> from = FromHandle(key, error);
  if (!from) return error;
  if (index >= from->values.size()) return ERROR_NO_MORE_ITEMS;
  auto entry = std::next(from->values.begin(), index);
  const std::string& written = from->valueNames[entry->first];
  if (written.size() + 1 > *nameChars) return ERROR_MORE_DATA;
  std::memcpy(name, written.c_str(), written.size() + 1);
  *nameChars = static_cast<DWORD>(written.size());
  if (type != nullptr) *type = entry->second.type;
  return ERROR_SUCCESS;
}

LONG SimulatedRegistry::EnumKey(HKEY key, DWORD index, LPSTR name, LPDWORD nameChars) {
  LONG error = ERROR_SUCCESS;
  std::shared_ptr<Key> from = FromHandle(key, error);
  if (!from) return error;
  if (index >= from->subkeys.size()) return ERROR_NO_MORE_ITEMS;
  const std::string& written = std::next(from->subkeys.begin(), index)->second->name;
  if (written.size() + 1 > *nameChars) return ERROR_MORE_DATA;
  std::memcpy(name, written.c_str(), written.size() + 1);
  *nameChars = static_cast<DWORD>(written.size());
  return ERROR_SUCCESS;
}

void SimulatedRegistry::MarkDeleted(Key& key) {
  key.deleted = true;
  for (auto& child : key.subkeys) MarkDeleted(*child.second);
}

LONG SimulatedRegistry::Delete(HKEY key, LPCSTR subkey) {
  LONG error = ERROR_SUCCESS;
  std::shared_ptr<Key> from = FromHandle(key, error);
  if (!from) return error;
  std::shared_ptr<Key> target = Find(from, subkey != nullptr ? subkey : "");
  if (!target) return ERROR_FILE_NOT_FOUND;
  std::shared_ptr<Key> parent = target->parent.lock();
  if (!parent) return ERROR_ACCESS_DENIED;  // the root itself
  if (target->denied || target->readOnly) return ERROR_ACCESS_DENIED;  // no delete right on the key
  if (!target->subkeys.empty() && family == Family::Nt) return ERROR_ACCESS_DENIED;
  MarkDeleted(*target);
  parent->subkeys.erase(Upper(target->name));
  return ERROR_SUCCESS;
}

LONG SimulatedRegistry::Close(HKEY key) {
  if (key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
  if (handles_.erase(key) == 0) return ERROR_INVALID_HANDLE;
  return ERROR_SUCCESS;
}

std::string SimulatedRegistry::PathOf(HKEY key) const {
  LONG error = ERROR_SUCCESS;
  std::shared_ptr<Key> found = FromHandle(key, error);
  if (!found) return "(invalid)";
  std::string path;
  for (std::shared_ptr<Key> at = found; at && at != root_ && at != userRoot_; at = at->parent.lock()) {
    path = path.empty() ? at->name : at->name + "\\" + path;
  }
  return path;
}
