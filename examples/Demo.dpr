program Demo;

uses
  Forms,
  Main in 'Main.pas' {MainForm},
  About in 'About.pas' {AboutBox},
  Details in 'Details.pas' {DetailsForm};

{$R *.res}

begin
  Application.Initialize;
  Application.Title := 'Wordloom Demo';
  Application.CreateForm(TMainForm, MainForm);
  Application.CreateForm(TAboutBox, AboutBox);
  Application.CreateForm(TDetailsForm, DetailsForm);
  Application.Run;
end.
