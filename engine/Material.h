#pragma once
// A soil material of the material list with the velocity range the velocity dialog allows
// for it (metres per microsecond, as whole numbers of the list).

#include <string>

class CMaterial
{
public:
    std::wstring m_strName;
    int m_iMinVelocity = 0;
    int m_iMaxVelocity = 0;
};
