#pragma once
// The main program's body, in the order the application starts up (RunProgram around it
// supplies the application object and the start-up error box):
//   1. initialise the application object
//   2. create the data module DataModule1 (connects to ADR.mdb, opens the four queries)
//   3. construct the splash window with the application as owner and show it modally
//   4. create the search window frmMain (the main window; binds to the data module)
//   5. free the splash window
//   6. run the message loop until the main window closes
void QuillonProgram();
