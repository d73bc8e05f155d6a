// The high scores between runs, in "scores.ini" in the program's data folder ($XDG_DATA_HOME/morvanth/), a
// settings file of "SKIN.RANK=POINTS NAME" lines (rank 1 the best); and the same tables as a recording's
// "score" header lines. Rows that do not read as a score and a clean name are left out; a skin's rows are kept in
// the order of their points, an equal score below the one listed first.
#pragma once
#include <string>
#include <vector>

#include "HighScores.h"
#include "KeyScript.h"
#include "SettingsFile.h"

inline constexpr const char* kScoresFileName = "scores.ini";

// The key of a table's row: the skin's name with '%', '=', white space, control bytes and the bytes that would
// make a comment or a section line written as %XX, then '.' and the rank from 1.
std::string ScoreKey(const std::string& Skin, int32_t Rank);

// Reads the tables of the skins named in Skins into Book (replacing what it holds for them).
void ReadScoreFile(const TSettingsFile& File, const std::vector<std::string>& Skins, TScoreBook& Book);
// Sets every row of every table of Book, and takes out the rows a table does not have (so a row left out when
// the file was read does not come back); other lines stay as they are.
void WriteScoreFile(const TScoreBook& Book, TSettingsFile& File);

// The tables as "score" lines of a recording's header, and back (rows that are not clean names are left out).
void ScoresToScript(const TScoreBook& Book, TKeyScript& Script);
void ScoresFromScript(const TKeyScript& Script, TScoreBook& Book);
