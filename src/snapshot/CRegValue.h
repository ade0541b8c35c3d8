#pragma once
// One registry value held in memory: its type code, its size and its bytes. The value owns
// its bytes and is never copied; a walk lends one to its hooks for the length of a call.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::reg {

class CRegValue {
public:
    CRegValue() = default;
    explicit CRegValue(std::uint32_t number);
    explicit CRegValue(std::string_view text);
    CRegValue(const CRegValue&) = delete;
    CRegValue& operator=(const CRegValue&) = delete;
    ~CRegValue() = default;

    // A block of n bytes with undefined contents; the type stays. False when the storage
    // cannot be had (or n does not fit a registry size), leaving the value empty.
    bool Allocate(std::size_t n);
    bool SetDword(std::uint32_t number);    // type 4, four bytes, least significant first
    bool SetString(std::string_view text);  // type 1, the text and one zero byte
    bool SetBinary(const std::uint8_t* bytes, std::size_t count);  // type 3
    void SetType(std::uint32_t type) { m_type = type; }

    std::uint32_t GetType() const { return m_type; }
    std::uint32_t GetSize() const { return m_size; }
    const std::uint8_t* GetData() const { return m_data.get(); }
    std::uint8_t* GetData() { return m_data.get(); }

    // Types 4 and 5: the first four bytes, least significant first, without swapping type 5.
    // A shorter value gives the bytes it has; false (number untouched) for other types.
    bool GetDword(std::uint32_t& number) const;
    // Types 1, 2 and 6: the bytes up to the first zero byte, or all of them when there is
    // none. False (text untouched) for other types.
    bool GetString(std::string& text) const;

    // For a walk filling the block: the bytes the last Allocate gave, and what it put there.
    std::uint32_t GetCapacity() const { return m_capacity; }
    bool SetFilled(std::uint32_t type, std::uint32_t size);

private:
    std::unique_ptr<std::uint8_t[]> m_data;
    std::uint32_t m_capacity = 0;
    std::uint32_t m_size = 0;
    std::uint32_t m_type = 0;
};

}  // namespace velmora::reg
