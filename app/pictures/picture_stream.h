// Fitting a picture to a 24-bit surface while it is being read: rows arrive top-down, are
// prefiltered only where the bicubic stretch will look, and leave the surface pixels exactly
// as PrefilterPicture followed by ResamplePicture would, without ever holding the whole
// picture.  The work can run on a second thread while the caller reads the next rows.
//
// The stages, in the order a row passes them; [owner] is the thread that writes the buffer
// ("reader": the caller, which reads the file; "worker": the second thread, which is the
// reader itself when there is one thread):
//
//   read    jpeg_stream.cpp, bmp_stream.cpp: one row as read into the slot NextStreamRow gives,
//           then CommitStreamRow.  [reader]
//   ring    stream_handover.cpp: up to 32 slots of rows as read (RowHandover), taken by the
//           worker in order; a slot is free again once the worker has taken its row.  [reader]
//   spread  row_planes.cpp, SpreadRow: the row split into red, green and blue planes, edge
//           pixels repeated (Planes).  [whichever thread claimed the row; each has its own]
//   along   filter_pass.cpp, FilterRowAlong: the planes filtered along the row at the columns
//           the stretch reads, into the row's compact row (see ColumnGroup in
//           filter_kernels.h) in the ring of rows filtered along (alongRing).  [the claiming
//           thread; the worker reads it after AwaitSlot]
//   down    filter_pass.cpp, FilterRowDown: each source row the stretch reads, filtered down
//           from the compact rows around it, into one of four rows filtered both ways
//           (downRows).  [worker]
//   draw    sampling_plan.cpp, DrawPlannedRow: each destination row, once its four source rows
//           are filtered both ways, into the target surface.  [worker; after
//           ClosePictureStream, the reader]
//
// The sampling plan (sampling_plan.h: which columns and rows are read, and their weights) is
// made before the first row and only read afterwards, by both threads.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// The surface being filled: W x H pixels, bytes blue, green, red, rows `rowLength` bytes apart
// starting at `pixels`; `threads` 2 filters on a second thread, 1 (or a thread that cannot be
// had) in the caller's.  With two threads the reader also filters rows along once the second
// thread lags `helpAfter` rows behind it (0: the default, a lag that leaves the second thread
// plenty of rows to work on; 1 to 31 make the reader help sooner).
typedef struct StreamTarget {
  uint8_t *pixels;
  int32_t width;
  int32_t height;
  int32_t rowLength;
  int32_t threads;
  int32_t helpAfter;
} StreamTarget;

// What the rows handed in hold per pixel.
typedef enum StreamRowFormat {
  ROW_GREY = 1,   // one sample, red = green = blue
  ROW_RGB = 3,    // red, green, blue samples
  ROW_WORDS = 4,  // one picture word (red in the low byte)
} StreamRowFormat;

// How often each pass's fast arithmetic handed a value to the exact one (see filter_pass.h).
// `rowsHelped`: rows the reader filtered along itself.
typedef struct StreamStats {
  uint32_t alongExact, alongFlat, alongRefined;
  uint32_t downExact, downFlat, downRefined;
  uint32_t rowsHelped;
} StreamStats;

typedef struct PictureStream PictureStream;

// Starts fitting a width x height picture (both positive, at most PICTURE_MAX_SIDE) into
// `target`.
// Returns NULL when the sizes are out of range or there is no memory; the surface is then
// untouched.
PictureStream *OpenPictureStream(int32_t width, int32_t height, StreamRowFormat format,
                                 const StreamTarget *target);

// The buffer for the next row from the top: width x format bytes.  Call CommitStreamRow once it
// is filled (which may wait for the filter to make room, or help it); at most `height` rows.
uint8_t *NextStreamRow(PictureStream *stream);
void CommitStreamRow(PictureStream *stream);

// Ends the stream and frees it (NULL is accepted).  With `complete` nonzero and every row
// committed, waits until the surface is filled and returns 1.  Otherwise (a read that failed
// part-way) stops the filter, blackens all W x H pixels of the surface and returns 0.
// `stats`, when not NULL, receives the fallback counts.
int ClosePictureStream(PictureStream *stream, int complete, StreamStats *stats);

// Sets all W x H pixels of the target to black (row padding untouched).
void BlackenStreamTarget(const StreamTarget *target);

// Reads a JPEG (".jpg") or Windows bitmap (".bmp") file into the target as the readers and the
// resampler would, picture by picture the same pixels.  Returns 1, or 0 with all W x H pixels
// black when the file cannot be read as that kind of picture (nothing shown to the user; libjpeg's
// own messages go to the standard error stream) or there is no memory.
// Both accept and refuse exactly the files that ReadJpegPicture and ReadBmpPicture do.  `path` is
// in code page 932 on Windows, as the settings keep it (file_932.h).
int StreamJpegPicture(const char *path, const StreamTarget *target, StreamStats *stats);
int StreamBmpPicture(const char *path, const StreamTarget *target, StreamStats *stats);

// The same for the `size` bytes of a file already in memory.
int StreamJpegMemory(const uint8_t *bytes, size_t size, const StreamTarget *target,
                     StreamStats *stats);
int StreamBmpMemory(const uint8_t *bytes, size_t size, const StreamTarget *target,
                    StreamStats *stats);

#ifdef __cplusplus
}
#endif
