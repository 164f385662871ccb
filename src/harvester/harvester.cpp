#include "harvester/harvester.h"

namespace harvester {

Harvester::Harvester(window::Ui& ui, net::Site site, std::function<void()> endProcess)
    : Site(std::move(site)),
      Main(ui, State,
           {.startRegionLoad = [this](app::MainWindow&) { Regions.startLoad(); }, .endProcess = std::move(endProcess)}),
      Runs(ui, State, Main.Tasks, Main.Status, Main.runControls()),
      Regions(ui, State, Main.组合框1, Main.组合框2),
      Probe(context(), Main.window),
      Results(context(), {.window = Main.window,
                          .按钮_去除重复 = Main.按钮_去除重复,
                          .按钮_清空公司 = Main.按钮_清空公司,
                          .按钮_清空信息 = Main.按钮_清空信息,
                          .按钮_导出 = Main.按钮_导出}),
      Contacts(context(), {.选择框_手机电话识别 = Main.选择框_手机电话识别,
                           .选择框_手机号强过滤 = Main.选择框_手机号强过滤,
                           .选择框_联系人 = Main.选择框_联系人,
                           .选择框_手机 = Main.选择框_手机,
                           .选择框_电话 = Main.选择框_电话,
                           .选择框_传真 = Main.选择框_传真,
                           .选择框_邮箱 = Main.选择框_邮箱,
                           .选择框_QQ = Main.选择框_QQ}),
      ContactRun(context(),
                 {.按钮_开始信息 = Main.按钮_开始信息,
                  .选择框_采集自动去重 = Main.选择框_采集自动去重,
                  .选择框_导出提示 = Main.选择框_导出提示,
                  .时钟5 = Main.时钟5},
                 Contacts, Results),
      Supervisor(context(),
                 {.window = Main.window,
                  .时钟5 = Main.时钟5,
                  .选择框_采集自动去重 = Main.选择框_采集自动去重,
                  .选择框_同时采集 = Main.选择框_同时采集,
                  .选择框_采集确认 = Main.选择框_采集确认},
                 Results, ContactRun),
      Search(context(),
             {.window = Main.window,
              .编辑框_关键词 = Main.编辑框_关键词,
              .编辑框_过滤 = Main.编辑框_过滤,
              .组合框2 = Main.组合框2,
              .选择框_同时采集 = Main.选择框_同时采集,
              .选择框_采集清空 = Main.选择框_采集清空,
              .按钮_开始公司 = Main.按钮_开始公司,
              .时钟5 = Main.时钟5},
             Probe, Contacts),
      Queue(context(),
            {.window = Main.window,
             .按钮_加入任务 = Main.按钮_加入任务,
             .按钮_开始全部任务 = Main.按钮_开始全部任务,
             .按钮_开始单条任务 = Main.按钮_开始单条任务,
             .按钮_清空任务 = Main.按钮_清空任务,
             .选择框_采集清空 = Main.选择框_采集清空},
            Search) {
  ui.on(Main.按钮_停止, window::Event::Click, [this] { Runs.stopRun(); });
  // What follows a finished stage of a queue run is the queue's to decide.
  Search.emptyQueueTask = [this](int row) { Queue.afterEmptyTask(row); };
  Supervisor.nextTask = [this] { Queue.startNextTask(); };
}

app::RunContext Harvester::context() { return {Main.Ui, State, Runs, Main.Status, Main.Companies, Main.Tasks, Site}; }

void Harvester::start() { Main.create(); }

}  // namespace harvester
