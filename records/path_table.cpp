#include "records/path_table.h"

// Both tables are constant data, ready before any other static initialiser.
const char* const PathTable[PATH_TABLE_SIZE] = {
    "data\\",                               // 0  the project folder
    "default\\",                            // 1  copied to data\ when that is missing
    "data\\stg4\\old_ver\\",                // 2
    "data\\work\\",                         // 3
    "e_data\\EditConfig.dat",               // 4
    "data\\PrjOption.dat",                  // 5
    "default\\PrjOption.dat",               // 6
    "data\\CommonPalette.cplt4",            // 7  CommonPalette
    "default\\CommonPalette.cplt4",         // 8
    "data\\GValInfo.dat",                   // 9
    "default\\GValInfo.dat",                // 10
    "data\\stg4\\Default.stg4_***",         // 11
    "default\\stg4\\Default.stg4_***",      // 12
    "data\\WorldMap.dat",                   // 13 WorldMap
    "default\\WorldMap.dat",                // 14
    "data\\database\\AnimeSet.dat",         // 15 the database tables, 15 to 33
    "default\\database\\AnimeSet.dat",      // 16
    "data\\database\\Anime.dat",            // 17
    "default\\database\\Anime.dat",         // 18
    "data\\database\\Bmp_CharaExc.dat",     // 19
    "default\\database\\Bmp_CharaExc.dat",  // 20
    "data\\database\\SwordType.dat",        // 21
    "default\\database\\SwordType.dat",     // 22
    "data\\database\\Effect.dat",           // 23
    "default\\database\\Effect.dat",        // 24
    "data\\database\\CharaEffect.dat",      // 25
    "default\\database\\CharaEffect.dat",   // 26
    "data\\database\\ScrEffect.dat",        // 27
    "default\\database\\ScrEffect.dat",     // 28
    "data\\database\\Picture.dat",          // 29
    "default\\database\\Picture.dat",       // 30
    "data\\database\\Sound.dat",            // 31
    "default\\database\\Sound.dat",         // 32
    "data\\database\\Bgm.dat",              // 33
    "default\\database\\Bgm.dat",           // 34
    "data\\System.dat",                     // 35 SystemData
    "default\\System.dat",                  // 36
    "data\\stg4\\c",                        // 37 prefix of the challenge stages
    "user_data\\story\\",                   // 38 ranking folders of kinds 0 to 2
    "user_data\\challenge\\",               // 39
    "user_data\\free\\",                    // 40
    "user_data\\story\\Story",              // 41 prefix of the story save slots
    "user_data\\challenge\\Challenge.dat",  // 42
    "user_data\\Option.dat",                // 43 OptionData
    "user_data\\",                          // 44
    "user_data\\KeyConfig.dat",             // 45
    "user_data\\Boot.dat",                  // 46 BootData
    "user_data\\Window.dat",                // 47 WindowData
};

const char* const ExtTable[EXT_TABLE_SIZE] = {"cplt4", "stg4", "plt4", "rkg"};

const char* RankingFolder(int kind) {
  if (kind < 0 || kind > 2) return nullptr;
  return PathTable[38 + kind];
}
