#pragma once
// A skin pool: skins by (name, scale). A name found only at another built-in scale is copied
// to the wanted scale and the copy kept.
#include <pugixml.hpp>
#include "core/SCmnMap.h"
#include "interface/SSkinobj-i.h"

namespace SKEIN {

// Name (case matters) and scale in percent.
class SkinKey {
public:
    SkinKey() : m_scale(100) {}
    SkinKey(const SStringW& name, int scale) : m_name(name), m_scale(scale) {}

    const SStringW& Name() const { return m_name; }
    int Scale() const { return m_scale; }
    UINT32 Hash() const { return HashWideString(m_name.c_str()) * 32 + static_cast<UINT32>(m_scale); }
    bool operator==(const SkinKey& other) const { return m_scale == other.m_scale && m_name == other.m_name; }

private:
    SStringW m_name;
    int m_scale;
};

// The scales skins are made for, and the nearest one not above a scale (100 below 125,
// 300 from 300 up).
extern const int kBuiltinScales[6];
int NormalizeSkinScale(int scale);

class SSkinPool : public TObjRefImpl2<IObjRef, SSkinPool> {
public:
    SSkinPool();

    // Creates a skin of each child of the skin-list element (class = tag, key = "name"), this
    // pool pushed on the skin-pool manager meanwhile; returns the number created. The first
    // skin of a key is kept.
    int LoadFromXml(pugi::xml_node element);
    // The skin of the key (the pool keeps its reference), or a scaled copy made from a
    // built-in scale and stored; null when the name is absent.
    ISkinObj* FindSkin(const SStringW& name, int scale);
    // Stores the skin (one reference added) when the key is absent; false otherwise.
    bool AddSkin(const SkinKey& key, ISkinObj* skin);
    int Count() const { return m_skins.Count(); }

private:
    static void ReleaseSkin(ISkinObj* skin);
    ISkinObj* Lookup(const SStringW& name, int scale) const;

    SCmnMap<ISkinObj*, SkinKey> m_skins;
};

} // namespace SKEIN
