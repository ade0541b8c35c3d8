#pragma once
// What the registry stand-in hands out when its store cannot be opened: a registry that
// refuses everything, so callers need no special case and nothing is half-written anywhere.

#include "RegistryBackend.h"

namespace velmora::reg {

class UnavailableRegistry final : public RegistryBackend {
public:
    Status OpenKey(HKey, const std::string&, std::uint32_t, HKey*) override { return kFailure; }
    Status CreateKey(HKey, const std::string&, std::uint32_t, HKey*) override { return kFailure; }
    Status QueryInfoKey(HKey, KeyInfo*) override { return kFailure; }
    Status EnumValue(HKey, std::uint32_t, char*, std::uint32_t*, std::uint32_t*, std::uint8_t*,
                     std::uint32_t*) override {
        return kFailure;
    }
    Status EnumKey(HKey, std::uint32_t, char*, std::uint32_t) override { return kFailure; }
    Status SetValue(HKey, const std::string&, std::uint32_t, const std::uint8_t*,
                    std::uint32_t) override {
        return kFailure;
    }
    Status DeleteKey(HKey, const std::string&) override { return kFailure; }
    Status CloseKey(HKey) override { return kErrorInvalidHandle; }
    bool BeginTransaction() override { return false; }
    bool CommitTransaction() override { return false; }
    void RollbackTransaction() override {}
    size_t OpenHandleCount() const override { return 0; }

private:
    static constexpr Status kFailure = kErrorStoreFailure;
};

}  // namespace velmora::reg
