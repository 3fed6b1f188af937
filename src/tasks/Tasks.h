#pragma once
// Task management as the windows use it: one include for all of it. Everything
// here runs on the UI thread.

#include "tasks/CreateDownloadTask.h"
#include "tasks/DateTime.h"
#include "tasks/FailureText.h"
#include "tasks/Formatting.h"
#include "tasks/ProgressMonitor.h"
#include "tasks/RestoreFromStore.h"
#include "tasks/TaskCommands.h"
#include "tasks/TaskContext.h"
#include "tasks/TaskHandleList.h"
