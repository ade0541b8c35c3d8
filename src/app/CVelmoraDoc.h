#pragma once
// The program's one document. It holds nothing but its title, so closing never asks to save.

#include <string>

namespace velmora::app {

class CVelmoraDoc {
public:
    void OnNewDocument() { m_title = "A small ZiNc frontend"; }
    const std::string& Title() const { return m_title; }

private:
    std::string m_title;
};

}  // namespace velmora::app
