#include "platform/virtual/virtual_registry.h"

namespace nx7 {

std::u16string VirtualRegistry::Normal(std::u16string_view key) {
  std::u16string k(key);
  for (char16_t& c : k) {
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
  }
  while (!k.empty() && k.back() == u'\\') k.pop_back();
  return k;
}

VirtualRegistry::Values* VirtualRegistry::Find(std::u16string_view key) {
  const auto it = keys_.find(Normal(key));
  return it == keys_.end() ? nullptr : &it->second;
}

RegistryStatus VirtualRegistry::Fail(RegistryStatus status, std::string text) {
  lastError_ = std::move(text);
  return status;
}

RegistryStatus VirtualRegistry::OpenKey(std::u16string_view key) {
  if (!Find(key)) return Fail(RegistryStatus::NotFound, "open key: not found");
  if (denied_) return Fail(RegistryStatus::AccessDenied, "open key: access denied");
  return RegistryStatus::Ok;
}

RegistryStatus VirtualRegistry::CreateKey(std::u16string_view key) {
  if (denied_) return Fail(RegistryStatus::AccessDenied, "create key: access denied");
  // Parents come into being with the key, as with RegCreateKeyEx.
  std::u16string path = Normal(key);
  for (size_t cut = path.find(u'\\'); cut != std::u16string::npos; cut = path.find(u'\\', cut + 1)) {
    keys_[path.substr(0, cut)];
  }
  keys_[path];
  return RegistryStatus::Ok;
}

RegistryStatus VirtualRegistry::ReadValue(std::u16string_view key, std::u16string_view name, size_t maxBytes,
                                          RegistryValue& out) {
  Values* values = Find(key);
  if (!values) return Fail(RegistryStatus::NotFound, "read value: key not found");
  if (denied_) return Fail(RegistryStatus::AccessDenied, "read value: access denied");
  const auto it = values->find(std::u16string(name));
  if (it == values->end()) return Fail(RegistryStatus::NotFound, "read value: value not found");
  if (it->second.data.size() > maxBytes) return Fail(RegistryStatus::MoreData, "read value: more data");
  out = it->second;
  return RegistryStatus::Ok;
}

RegistryStatus VirtualRegistry::WriteValue(std::u16string_view key, std::u16string_view name, RegistryType type,
                                           std::span<const uint8_t> data) {
  Values* values = Find(key);
  if (!values) return Fail(RegistryStatus::NotFound, "write value: key not found");
  if (denied_) return Fail(RegistryStatus::AccessDenied, "write value: access denied");
  if (failWrites_) return Fail(*failWrites_, "write value: injected fault");
  ++writes_;
  (*values)[std::u16string(name)] = RegistryValue{type, std::vector<uint8_t>(data.begin(), data.end())};
  return RegistryStatus::Ok;
}

RegistryStatus VirtualRegistry::DeleteValue(std::u16string_view key, std::u16string_view name) {
  Values* values = Find(key);
  if (!values) return Fail(RegistryStatus::NotFound, "delete value: key not found");
  if (denied_) return Fail(RegistryStatus::AccessDenied, "delete value: access denied");
  if (values->erase(std::u16string(name)) == 0) return Fail(RegistryStatus::NotFound, "delete value: not found");
  return RegistryStatus::Ok;
}

bool VirtualRegistry::HasKey(std::u16string_view key) const { return keys_.count(Normal(key)) != 0; }

std::optional<RegistryValue> VirtualRegistry::Value(std::u16string_view key, std::u16string_view name) const {
  const auto it = keys_.find(Normal(key));
  if (it == keys_.end()) return std::nullopt;
  const auto v = it->second.find(std::u16string(name));
  if (v == it->second.end()) return std::nullopt;
  return v->second;
}

}  // namespace nx7
