#include "CRegValue.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "RegistryBackend.h"

namespace velmora::reg {

CRegValue::CRegValue(std::uint32_t number) {
    SetDword(number);
}

CRegValue::CRegValue(std::string_view text) {
    SetString(text);
}

bool CRegValue::Allocate(std::size_t n) {
    m_data.reset();
    m_capacity = 0;
    m_size = 0;
    if (n > UINT32_MAX) {
        return false;
    }
    if (n > 0) {
        m_data.reset(new (std::nothrow) std::uint8_t[n]);
        if (!m_data) {
            return false;
        }
    }
    m_capacity = static_cast<std::uint32_t>(n);
    m_size = m_capacity;
    return true;
}

bool CRegValue::SetDword(std::uint32_t number) {
    if (!Allocate(4)) {
        return false;
    }
    m_type = kRegDword;
    for (int i = 0; i < 4; ++i) {
        m_data[static_cast<size_t>(i)] = static_cast<std::uint8_t>(number >> (8 * i));
    }
    return true;
}

bool CRegValue::SetString(std::string_view text) {
    if (!Allocate(text.size() + 1)) {
        return false;
    }
    m_type = kRegSz;
    if (!text.empty()) {
        std::memcpy(m_data.get(), text.data(), text.size());
    }
    m_data[text.size()] = 0;
    return true;
}

bool CRegValue::SetBinary(const std::uint8_t* bytes, std::size_t count) {
    if ((bytes == nullptr && count != 0) || !Allocate(count)) {
        return false;
    }
    m_type = kRegBinary;
    if (count > 0) {
        std::memcpy(m_data.get(), bytes, count);
    }
    return true;
}

bool CRegValue::GetDword(std::uint32_t& number) const {
    if (m_type != kRegDword && m_type != kRegDwordBigEndian) {
        return false;
    }
    std::uint32_t result = 0;
    const std::uint32_t count = std::min<std::uint32_t>(m_size, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        result |= static_cast<std::uint32_t>(m_data[i]) << (8 * i);
    }
    number = result;
    return true;
}

bool CRegValue::GetString(std::string& text) const {
    if (m_type != kRegSz && m_type != kRegExpandSz && m_type != kRegLink) {
        return false;
    }
    if (m_size == 0) {
        text.clear();
        return true;
    }
    const char* bytes = reinterpret_cast<const char*>(m_data.get());
    const void* zero = std::memchr(bytes, 0, m_size);
    text.assign(bytes, zero == nullptr
                           ? m_size
                           : static_cast<size_t>(static_cast<const char*>(zero) - bytes));
    return true;
}

bool CRegValue::SetFilled(std::uint32_t type, std::uint32_t size) {
    if (size > m_capacity) {
        return false;
    }
    m_type = type;
    m_size = size;
    return true;
}

}  // namespace velmora::reg
