#pragma once
// The per-user configuration of the program: pane layout, palettes, materials, cursors,
// unit system, the main window's place, the last import folders and the places of dialogs
// remembered for the run. One global object, loaded at start-up and saved at the end.

#include "Material.h"
#include "Palettes.h"
#include "Units.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class CHeaders;

// The cursors of the data views, by their index in CCfg::m_cursors.
enum TCursorId : int32_t {
    CURSOR_MOVE = 0,  // move_m.cur
    CURSOR_SIZE4 = 1, // size4_m.cur
    CURSOR_SIZE3 = 2, // size3_m.cur
    CURSOR_SIZE2 = 3, // size2_m.cur
    CURSOR_SIZE1 = 4, // size1_m.cur
    CURSOR_CROSS = 5, // cross_r.cur
    CURSOR_COUNT = 6,
};

class CCfg
{
public:
    // The place of a dialog, by its resource id.
    class CWinPos
    {
    public:
        int32_t m_x = 0;
        int32_t m_y = 0;
        uint32_t m_id = 0;
    };

    class CCursor
    {
    public:
        TCursorId m_id = CURSOR_MOVE;
        bool m_bLoaded = false;
    };

    CCfg();
    CCfg(const CCfg&) = delete;
    CCfg& operator=(const CCfg&) = delete;

    void SetDefaults();
    // Materials, cursors, palettes, the user palette and the configuration file; shows a
    // message when the configuration file cannot be read.
    bool Load();
    // Reads every key it can; false when a required key is missing or a value cannot be read.
    bool ReadCfgFile();
    // Rewrites the configuration file keeping the keys it does not set, then the user's own
    // palette (never one a project brought); shows a message when either fails. A file that
    // was not read completely is kept as "quarvel.cfg.old" or "userdef.pal.old" first.
    bool Save();

    void LoadMaterialList();
    // The first material with exactly that name, else m_pCurMaterial (which may be null).
    CMaterial* FindMaterial(const std::wstring& name);
    // The material a project names: as FindMaterial, but a name the list lacks is kept as a
    // material of its own, appended with the user-defined range and logged, so that the
    // project keeps its material. An empty name gives m_pCurMaterial.
    CMaterial* FindProjectMaterial(const std::wstring& name);
    void LoadCursors();

    CWinPos GetWinPos(uint32_t id) const;
    bool HasWinPos(uint32_t id) const;
    // Ignored for a negative x or y.
    void SetWinPos(uint32_t id, int32_t x, int32_t y);

    // Palettes.
    void InitPalettes();
    // Fills table for a built-in name, from m_userColors for the user palette; any other
    // name leaves it unchanged.
    void GetPaletteColors(const std::wstring& name, TPaletteTable& table) const;
    // Makes the named palette current, else the first one of the list.
    void SelectPalette(const std::wstring& name);
    // The user's change of the user palette: made current, and kept for userdef.pal.
    void SetUserPalette(const TPaletteTable& table);
    // Shows a palette as the user palette and makes it current (a project's own, while the
    // project is open); what userdef.pal keeps stays the user's own palette.
    void ShowAsUserPalette(const TPaletteTable& table);
    static bool WritePaletteFile(const TPaletteTable& table, const std::wstring& path);
    // Reads up to PALETTE_FILE_SIZE bytes over the table; true when the file was read.
    static bool ReadPaletteFile(TPaletteTable& table, const std::wstring& path);

    // Empty paths when no per-user folder is known.
    static std::wstring GetAppDataDir();
    static std::wstring GetCfgFilePath();
    static std::wstring GetUserPalettePath();
    // "./material.lst" in the working folder when it is there, else the one beside the
    // executable when that is there, else "./material.lst".
    static std::wstring GetMaterialListPath();

    CMaterial* m_pCurMaterial;
    std::deque<CMaterial> m_materials; // elements never move: pointers into it stay valid
    TPaletteTable m_curColors;
    TPaletteTable m_userColors;
    // The user palette as the user left it (read from userdef.pal or changed in the palette
    // editor), which Save writes; m_userColors may hold a project's palette instead.
    TPaletteTable m_ownUserColors;
    int32_t m_nCurPalette;
    std::vector<std::wstring> m_paletteNames;
    bool m_bPaletteAll;
    bool m_bPaletteWrap;
    std::vector<CCursor> m_cursors;
    int32_t m_nLayout;        // 0 simple, 1 wide, 2 projection
    bool m_bRememberWindow;
    int32_t m_windowSize[2];  // width, height
    int32_t m_windowPos[2];   // x, y
    bool m_bAutoContrast;
    bool m_bUnitsAll;
    TUnits m_units;
    std::vector<std::wstring> m_unitsNames;
    std::vector<CWinPos> m_winPos;
    bool m_bUseMouseWheel;
    std::wstring m_importSrcFolder;
    std::wstring m_importProjectFolder;
    // The configuration file read last held more than was taken from it (a missing or
    // unreadable key, or lines a save would not write back as they were).
    bool m_bCfgFileDamaged;
    // The user palette read last was not of the palette file's size; kept as
    // "userdef.pal.old" before a save writes over it.
    bool m_bPaletteFileDamaged;

private:
    // The thirteen keys of the file, in their order, from the members.
    void SetKeys(CHeaders& headers) const;
};

extern CCfg g_cfg;
