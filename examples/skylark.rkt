<RockSimDocument>
  <FileVersion>4</FileVersion>
  <DesignInformation>
    <RocketDesign>
      <Name>Skylark &amp; Sons</Name>
      <StageCount>1</StageCount>
      <Stage3Parts>
        <NoseCone>
          <Name>Ogive nose</Name>
          <Len>110.</Len>
          <BaseDia>41.6</BaseDia>
          <AttachedParts>
          </AttachedParts>
        </NoseCone>
        <BodyTube>
          <Name>BT-60 airframe</Name>
          <OD>41.6</OD>
          <ID>40.5</ID>
          <Len>457.2</Len>
          <AttachedParts>
            <FinSet>
              <Name>Main fins</Name>
              <FinCount>4</FinCount>
              <RootChord>75.5</RootChord>
              <TipChord>38.</TipChord>
              <SemiSpan>50.</SemiSpan>
              <Thickness>3.2</Thickness>
              <ShapeCode>0</ShapeCode>
            </FinSet>
            <BodyTube>
              <Name>24mm motor mount</Name>
              <OD>25.4</OD>
              <ID>24.1</ID>
              <Len>70.</Len>
              <IsInsideTube>1</IsInsideTube>
              <AttachedParts>
              </AttachedParts>
            </BodyTube>
            <LaunchLug>
              <Name>Launch lug</Name>
              <OD>6.35</OD>
              <Len>50.8</Len>
              <RadialAngle>0.785398163397448</RadialAngle>
            </LaunchLug>
            <CustomFinSet>
              <Name>Canard &quot;strakes&quot;</Name>
              <FinCount>3</FinCount>
              <RootChord>60.</RootChord>
              <SemiSpan>35.</SemiSpan>
              <Thickness>1.6</Thickness>
              <PointList>60,0|50,30|25,35|0,0|</PointList>
            </CustomFinSet>
          </AttachedParts>
        </BodyTube>
      </Stage3Parts>
      <Stage2Parts>
      </Stage2Parts>
      <Stage1Parts>
      </Stage1Parts>
    </RocketDesign>
  </DesignInformation>
</RockSimDocument>
