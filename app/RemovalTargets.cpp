#include "app/RemovalTargets.h"

#include "app/Place.h"

namespace qvn {

std::vector<RemovalTarget> RemovalTargets(const RemovalPlan& plan) {
  std::vector<RemovalTarget> targets;
  for (const RemovalStep& step : plan.steps) {
    if (step.kind == RemovalStep::Kind::RegistryKey || step.skipped) continue;
    targets.push_back({step.target, step.kind == RemovalStep::Kind::Folder});
  }
  return targets;
}

bool LiesInTargets(const std::wstring& path, const std::vector<RemovalTarget>& targets) {
  PlaceReader reader;
  const Place place = reader.Read(path);
  for (const RemovalTarget& target : targets) {
    const Place removed = reader.Read(target.path);
    if (target.isFolder ? removed.Holds(place) : removed.IsSame(place)) return true;
  }
  return false;
}

TargetSurvey FolderLinksIn(const RemovalPlan& plan, bool ntFamily) {
  return SurveyTargets(RemovalTargets(plan), /*lookForUse=*/false, ntFamily);
}

}  // namespace qvn
