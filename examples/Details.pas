unit Details;

interface

uses
  Classes, Controls, Forms, StdCtrls, Main;

type
  TDetailsForm = class(TMainForm)
    PathLabel: TLabel;
  end;

var
  DetailsForm: TDetailsForm;

implementation

{$R *.dfm}

end.
