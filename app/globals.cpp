// The program's long-lived objects. They are built in this order before the
// entry point runs and destroyed in the reverse order after it returns; no
// constructor here reads a global of another file that is built at run time
// (their tables are constant data), so the order of the files does not
// matter. Objects of parts not built yet take their rows when they come.
#include "app/main_window.h"
#include "app/window.h"
#include "base/thread.h"
#include "game/characters.h"
#include "game/menu_cursor.h"
#include "media/bgm.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "media/font_def.h"
#include "media/input.h"
#include "media/key_config.h"
#include "media/sound_effect.h"
#include "media/system_surfaces.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/ranking.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/save_slots.h"
#include "records/stage.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "records/user_settings.h"
#include "records/window_data.h"
#include "records/world_map.h"

// 1-2: the windows.
cWindowLists OwnerLists;
cMainWindow MainWindow;

// 3-6: the threads; each ends its thread when it goes.
cThread thGame;
cThread thPause;
cThread thRanking;
cThread thLoad;

// 7: the cursor of every menu.
cMenuCursor MenuCursor;

// 8: the input records, player 1.
cVector<cInput> Input(1);

// 9-20: the surface sets of the stage and the scenes, with their definitions.
cVector<DDSURFACEDATA> Off_StageBmp;
cVector<DDSURFACEDEF> Off_StageBmpDef;
cVector<DDSURFACEDATA> Off_Sword;
cVector<DDSURFACEDEF> Off_SwordDef;
cVector<DDSURFACEDATA> Off_Effect;
cVector<DDSURFACEDEF> Off_EffectDef;
cVector<DDSURFACEDATA> Off_Scene;
cVector<DDSURFACEDEF> Off_SceneDef;
cList<DDSURFACEDATA> Off_Picture;
cList<DDSURFACEDEF> Off_PictureDef;
cList<DDSURFACEDATA> Off_Msg;
cList<DDSURFACEDEF> Off_MsgDef;

// 21-26: the system images, the fonts and their digit sheets, and the
// definitions they are made from.
DDSURFACEDATA SurfaceTable[SURFACE_TABLE_SIZE];
Font SysFont[SYSTEM_FONT_COUNT];
DDSURFACEDATA Off_Digit[DIGIT_SHEET_COUNT];
DDSURFACEDEF SurfaceDefs[SURFACE_TABLE_SIZE];
[[maybe_unused]] static const bool bSurfaceDefsFilled = (InitSurfaceDefs(), true);
FONTDEF FontSpec[SYSTEM_FONT_COUNT];
[[maybe_unused]] static const bool bFontSpecsFilled = (InitFontSpecs(), true);
DDSURFACEDEF DigitSurfaceDefs[DIGIT_SHEET_COUNT];
[[maybe_unused]] static const bool bDigitDefsFilled = (InitExtraSurfaceDefs(), true);

// 27-29: sound effects and music. The music manager releases its players
// when it goes; the mixer they play into outlives every object here.
cVector<SEDATA> SeBank;
cVector<SEDEF> SeDefs;
cBgm Bgm;

// 30-32: the project's records.
cEdCommonPalette CommonPalette;
cEdSystem SystemData;
cEdDatabase Database;

// 33-38: the run tables derived from the database.
cVector<ANIMEPATTERN> AnimeStepTable;
cVector<ANIMEPATTERN> EffectStepTable;
cVector<cCharaEffectState> CharaFxInstA;
cVector<cScreenEffectState> ScrFxInstA;
cVector<cCharaEffectState> CharaFxInstB;
cVector<cScreenEffectState> ScrFxInstB;

// 39-40: the recorded input of this attempt and of the one before.
cReplayInput Replay;
cReplayInput ReplayPrev;

// 41-44: the live objects and map cells of the running stage.
cVector<cHero> Player;
cVector<MAPCELL> MapCell;
cList<cChara> CharaList;
cList<cItem> ItemList;

// 45-47: the running stage, the stage as loaded, the world map.
cEdStage Stage;
cEdStage StageCopy;
cEdWorldMap WorldMap;
// 48: the player's progress; 49-50: its copies at the start of the current
//     and of the previous recorded attempt.
cSaveData PlayData;
cSaveData ReplayStart;
cSaveData ReplayStartPrev;

// 51: the player's options.
cOptionData OptionData;

// 52: the summaries of the story save slots.
cVector<cSaveSlotInfo> SlotSummary(SAVE_SLOT_COUNT);

// 53: the rankings of the stage shown or played.
cRanking Ranking;

// The other long-lived settings and surfaces, after the table.
SYSTEMINI SystemIni;
cBootData BootData;
cWindowData WindowData;
KEYCONFIG KeyConfig = {};
DDSURFACEDATA BackBuffer;
DDSURFACEDATA Primary;
DDSURFACEDATA WorkDD;
DDSURFACEDATA VirBackBuffer;
DDSURFACEDATA WorkSD;
