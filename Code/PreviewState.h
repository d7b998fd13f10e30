// State of the preview shared by the player, the trim bar and the source list handlers.
#pragma once

#include <cstdint>
#include <string>

// Duration in seconds of the row last taken into the trim bar; every handle position is read against it.
extern int32_t TrimDuration;
// Position (time text) at which playback pauses and goes back to the beginning; empty until the end handle
// moves.
extern std::string StopAtTime;
// Whether moving the start handle also moves the playback position; off while a row click places the handles.
extern bool SeekOnStartMove;

// Seconds of a start-handle position L1, of an end-handle position L2, for a file of the given length.
int32_t TrimStartSeconds(int l1, int32_t duration);
int32_t TrimEndSeconds(int l2, int32_t duration);
// Widths of the side areas that show a row's start and end, for a file of the given length.
int TrimPanel2Width(int32_t start, int32_t duration);
int TrimPanel3Width(int32_t end, int32_t duration);
