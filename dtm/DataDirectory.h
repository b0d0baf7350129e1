#pragma once

#include <filesystem>

// The folder of the simulated DTM's data files (parameter dictionary, information files,
// pictures): the folder named by the environment variable VELA_DTM_DATA when it is set;
// otherwise a folder "dtm-data" beside the running executable when there is one; otherwise
// the data folder of the source tree this library was built from.
std::filesystem::path FindDtmDataDirectory();
