#pragma once

// The window's features, for tform1.cpp alone (and the tests' FormPeer).

#include "ui/about_view.h"
#include "ui/appearance_controller.h"
#include "ui/merging.h"
#include "ui/name_adding.h"
#include "ui/name_draw.h"
#include "ui/name_removal.h"
#include "ui/own_databases.h"
#include "ui/statistics_view.h"
#include "ui/tform1.h"

namespace Ui {
class TForm1;
}

namespace tavolin {

// Each feature gets the controls it owns and narrow callbacks for the rest.
struct TForm1::Rooms {
    Rooms(TForm1& window, const Ui::TForm1& ui, Platform& platform, const FormEnvironment& environment,
          const FilePath& programDir);

    AboutView about;
    AppearanceController appearance;
    OwnDatabases databases;
    NameDraw draw;
    NameRemoval removal;
    NameAdding adding;
    Merging merging;
    StatisticsView statistics;
};

} // namespace tavolin
