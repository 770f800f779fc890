// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/PageMakerArgs.h"

QString pageMakerHelp()
{
    return QStringLiteral(R"(Usage: tessaloom-page [options] FOLDER KIND

Writes a media page (an HTML file) into FOLDER from the files of one media kind, as the Create
button of Tessaloom does. KIND is 1 to 8 or a name:
  1 gifjpg   2 gif   3 jpg   4 wav   5 mid   6 mp3   7 avi   8 mpg

Page options are applied in the order given, each as if set in the Options window, so the rules
between options hold (for example --percent turns thumbnails on and clears --height/--width,
and --height clears the percentage). A later option overrides an earlier one.

  --kind KIND                  the media kind (instead of the second argument; giving two
                               different kinds is an error)
  --name FILE                  page file name (default MediaPage.htm)
  --title TEXT                 page title (default MediaPage)
  --counter DIGITS             counter put into the page file name; 0: none (default 0)
  --background-color RRGGBB    background colour, and use the colour as the background
  --background-picture PATH    background picture, and use it as the background; once the
                               page is written it is copied into FOLDER, taking the place of
                               an older picture of that name there
  --text-color RRGGBB          colour of the page text and the labels (default FFFFFF)
  --link-color RRGGBB          colour of links (default FF0000)
  --visited-color RRGGBB       colour of visited links (default 0000FF)
  --sounds picture|text|underline
                               how sounds are shown (default text)
  --sound-picture PATH         the picture that stands for every sound (with --sounds picture);
                               it is copied into FOLDER (an existing file there is kept)
  --labels name,size|name|size|none
                               what is written under each cell (default none)
  --thumbnails on|off          show thumbnails (sm_ pictures) for JPG pictures (default on)
  --keep-thumbnails            keep the folder's earlier thumbnails instead of deleting them
                               first (the name dialog's "delete old thumbnails" turned off)
  --percent 50|33|25|20|10     show pictures at this percentage of their size; also 0 to 4
                               for the entries in that order (default 50)
  --height N, --width N        explicit picture height/width, 0 to 500 (default 0: none)
  --picture-border N           picture border, 0 to 20 (default 0)
  --table-border N             table border, 0 to 20 (default 0)
  --columns N                  cells in each row, 1 to 20 (default 1)
  --posters missing|none       with avi or mpg: before the page is built, make the picture the
                               page shows for each movie that has none (Clip.avi gives Clip.jpg),
                               from the frame at one tenth of the movie; an existing picture is
                               never replaced (default none)
  --overwrite                  replace an existing page file of the same name
  --quiet                      no progress display
  -h, --help                   show this text and exit
  -V, --version                show the version and exit

Options also take the form --option=VALUE. A number outside its range is brought to the nearest
end of it, and standard error says so. With sounds (wav, mid, mp3) shown as text the picture sizes
--height, --width and --picture-border are not taken, as in the Options window: give
--sounds picture before them.

Pictures are written with HEIGHT and WIDTH attributes: the percentage of each picture's size, or
--height/--width. For a page without them, give --thumbnails off (the page then shows the pictures
themselves), or keep the thumbnails and clear the percentage with --height 5 --height 0.

An existing page is replaced only with --overwrite. As Create does, the run deletes the folder's
earlier thumbnails (sm_ files that are JPEG pictures) when thumbnails are on, unless
--keep-thumbnails is given, and makes them anew after the page is written.
On a terminal, standard error shows one line of progress (pictures done, percentage, time left)
unless --quiet is given.
Messages go to standard output; every error and refusal to standard error, one per line, after
"tessaloom-page: ".
Exit status: 0 the page and all its thumbnails were created, 1 the run failed, 2 the command line is
wrong (FOLDER not a folder included), 3 the page was created but some thumbnails were not,
4 another run holds the folder.
)");
}
